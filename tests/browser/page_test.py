#!/usr/bin/python3
"""The local web page of karvel1 in a real browser.

Starts `karvel1 serve` on a copy of the dairy example, drives the page in
headless Chromium through Selenium and checks what a user sees against an
independent path, the command line run on another copy of the example:

  - a run with the base milk price changed on the page shows the profit and
    the economic weights that `karvel1 --set prmilkb=...` computes;
  - a sweep draws its chart;
  - undo gives a changed field its file value back;
  - save rewrites exactly the bytes of the changed number and nothing else;
  - the browser's console holds no error;
  - the server stops with status 0 on SIGINT.

Usage (CMake registers it as WebPage.InBrowser):

  /usr/bin/python3 tests/browser/page_test.py --program build/karvel1 --source .

It needs Debian's python3-selenium, chromium and chromium-driver (the
python3 on PATH may be another one without Selenium).  Exit status 0 when
every check holds, 1 with the failed check's message otherwise.

scripts/page-screenshot imports the helpers of this file (Server,
start_browser, set_field, ...) to make the README's picture of the page.
"""

import argparse
import csv
import io
import json
import os
import queue
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import threading
import traceback

from selenium import webdriver
from selenium.common.exceptions import (StaleElementReferenceException,
                                        TimeoutException)
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.by import By
from selenium.webdriver.common.keys import Keys
from selenium.webdriver.support.ui import Select, WebDriverWait

WAIT_SECONDS = 30
SERVING_LINE = re.compile(
    r"^Serving (?P<dir>.+) at (?P<url>http://127\.0\.0\.1:(?P<port>\d+)/\?token=(?P<token>[0-9a-f]{32}))$")

# The change the test makes on the page and on the command line.
PRICE_NAME = "prmilkb"            # base price of milk, INPUTS11.TXT of the dairy example
PRICE_VALUE = "0.95"
# The field the undo check changes and gives back (it must not reach the save).
UNDO_NAME = "mwE[1]"
UNDO_VALUE = "72"
# Weights compared with the command line: birth weight and milk yield,
# pure-bred column (the dairy example breeds pure).
COMPARED_TRAITS = (1, 28)
PURE_BRED = 1


class CheckFailed(Exception):
    """A check of the page did not hold; the message says which and what was seen."""


def check(condition, message):
    if not condition:
        raise CheckFailed(message)
    print("  ok:", message.split("\n")[0])


# ---------------------------------------------------------------- the example

def copy_example(source, parent, name):
    """Copies <source>/examples/dairy into parent/name and returns that path.
    The program writes its outputs into the directory it runs in, so it never
    runs in the source tree."""
    target = os.path.join(parent, name)
    shutil.copytree(os.path.join(source, "examples", "dairy"), target)
    return target


def list_inputs(program, directory):
    """The rows of `karvel1 --list` in directory: dicts with the header's keys
    (name value file line record label unit min max)."""
    done = subprocess.run([program, "--list"], cwd=directory, capture_output=True,
                          text=True, timeout=120)
    if done.returncode != 0:
        raise CheckFailed(f"karvel1 --list failed in {directory}:\n{done.stderr}")
    return list(csv.DictReader(io.StringIO(done.stdout), delimiter="\t",
                               quoting=csv.QUOTE_NONE))


def command_line_run(program, directory, changes):
    """Runs the whole computation on the command line with --set for each
    change and returns its --json document."""
    args = [program, ".", "-q", "-o", "R.TXT", "--json", "out.json"]
    for name, value in changes.items():
        args += ["--set", f"{name}={value}"]
    done = subprocess.run(args, cwd=directory, capture_output=True, text=True, timeout=240)
    if done.returncode != 0:
        raise CheckFailed(f"{' '.join(args)} failed with status {done.returncode}:\n{done.stderr}")
    with open(os.path.join(directory, "out.json"), encoding="utf-8") as f:
        return json.load(f)


def read_files(directory):
    """Every regular file of directory by name, as bytes."""
    files = {}
    for name in sorted(os.listdir(directory)):
        path = os.path.join(directory, name)
        if os.path.isfile(path):
            with open(path, "rb") as f:
                files[name] = f.read()
    return files


def bytes_with_number_replaced(old, line_number, old_value, new_text):
    """old (a file's bytes) with the one number on line line_number (counted
    from 1, as --list gives it) whose value is old_value replaced by new_text;
    every other byte stays; also the number's text in the file.  The file may write the number with other digits
    than --list shows it (1.150 for 1.15), so the number is found by value."""
    lines = old.splitlines(keepends=True)
    line = lines[line_number - 1].decode("ascii")
    matches = []
    for token in re.finditer(r"\S+", line):
        try:
            if float(token.group()) == float(old_value):
                matches.append(token)
        except ValueError:
            pass
    if len(matches) != 1:
        raise CheckFailed(f"line {line_number} ({line.rstrip()!r}) should hold the number "
                          f"{old_value} exactly once, found {len(matches)} times")
    token = matches[0]
    lines[line_number - 1] = (line[:token.start()] + new_text + line[token.end():]).encode("ascii")
    return b"".join(lines), token.group()


# ---------------------------------------------------------------- the server

class Server:
    """`karvel1 serve DIR --port 0` as a subprocess.  The constructor waits
    for the one line it prints and parses it; stop() sends SIGINT and returns
    the exit status."""

    def __init__(self, program, directory, log_path):
        self.log = open(log_path, "w+", encoding="utf-8")
        self.process = subprocess.Popen(
            [program, "serve", directory, "--port", "0"], cwd=os.path.dirname(directory),
            stdout=subprocess.PIPE, stderr=self.log, text=True)
        # Read standard output on a thread so that a server that prints
        # nothing fails the wait instead of blocking the test.
        self.lines = queue.Queue()
        threading.Thread(target=self._read_stdout, daemon=True).start()
        try:
            self.first_line = self.lines.get(timeout=WAIT_SECONDS)
        except queue.Empty:
            self.kill()
            raise CheckFailed(f"karvel1 serve printed no line within {WAIT_SECONDS} s; "
                              f"standard error:\n{self.stderr_text()}")
        if self.first_line is None:
            status = self.process.wait(timeout=WAIT_SECONDS)
            raise CheckFailed(f"karvel1 serve ended with status {status} before printing its line; "
                              f"standard error:\n{self.stderr_text()}")
        self.first_line = self.first_line.rstrip("\n")
        match = SERVING_LINE.match(self.first_line)
        if not match:
            self.kill()
            raise CheckFailed(f"karvel1 serve's line should read 'Serving DIR at "
                              f"http://127.0.0.1:PORT/?token=<32 hex digits>', it reads {self.first_line!r}")
        self.served_dir = match["dir"]
        self.url = match["url"]
        self.port = int(match["port"])
        self.token = match["token"]

    def _read_stdout(self):
        for line in self.process.stdout:
            self.lines.put(line)
        self.lines.put(None)

    def stderr_text(self):
        self.log.flush()
        self.log.seek(0)
        return self.log.read()

    def stop(self):
        """SIGINT, then the exit status (None when it did not end in time:
        it is killed then)."""
        if self.process.poll() is None:
            self.process.send_signal(signal.SIGINT)
        try:
            return self.process.wait(timeout=WAIT_SECONDS)
        except subprocess.TimeoutExpired:
            self.kill()
            return None

    def kill(self):
        if self.process.poll() is None:
            self.process.kill()
            self.process.wait()


# ---------------------------------------------------------------- the browser

def start_browser(profile_dir, width=1280, height=1800):
    """Headless Chromium under chromedriver, with a fresh profile and the
    browser's console log kept for get_log("browser")."""
    options = webdriver.ChromeOptions()
    for argument in ("--headless=new", "--no-sandbox", "--disable-gpu", "--disable-quic",
                     "--no-first-run", "--disable-background-networking",
                     "--disable-component-update", "--disable-sync",
                     f"--user-data-dir={profile_dir}", f"--window-size={width},{height}"):
        options.add_argument(argument)
    options.binary_location = "/usr/bin/chromium"
    options.set_capability("goog:loggingPrefs", {"browser": "ALL"})
    return webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)


def wait_for(driver, condition, what, timeout=WAIT_SECONDS):
    """Waits until condition(driver) is true (a truthy value is returned);
    fails with `what` and the last value seen otherwise."""
    seen = {}

    def probe(d):
        try:
            value = condition(d)
        except StaleElementReferenceException:
            return False
        seen["last"] = value
        return value

    try:
        return WebDriverWait(driver, timeout).until(probe)
    except TimeoutException:
        raise CheckFailed(f"waited {timeout} s for {what}; last seen: {repr(seen.get('last'))[:300]}")


def element(driver, element_id):
    """The element of that id, or None (ids hold brackets: By.ID quotes them)."""
    found = driver.find_elements(By.ID, element_id)
    return found[0] if found else None


def text_of(driver, element_id):
    found = element(driver, element_id)
    return found.text.strip() if found is not None else None


def reveal(driver, target):
    """Opens the closed <details> around target by clicking their summaries,
    as a user opens an input file's part of the page.  (Selenium's
    is_displayed() does not see that a closed <details> hides its content.)"""
    summaries = driver.execute_script(
        "const out = [];"
        "for (let d = arguments[0].closest('details:not([open])'); d;"
        "     d = d.parentElement && d.parentElement.closest('details:not([open])'))"
        "  out.unshift(d.querySelector(':scope > summary'));"
        "return out;", target)
    for summary in summaries:
        if summary is not None:
            summary.click()


def set_field(driver, element_id, text):
    """Types text into the input field as a user does: clear, type, TAB (the
    change and blur events follow)."""
    field = element(driver, element_id)
    reveal(driver, field)
    field.clear()
    field.send_keys(text + Keys.TAB)


def click(driver, element_id):
    wait_for(driver, lambda d: (e := element(d, element_id)) is not None and e.is_enabled(),
             f"the button #{element_id} to be there and enabled")
    element(driver, element_id).click()


def run_and_wait(driver, expected_tprof=None):
    """Clicks #run and waits for #Tprof to show a new profit (or the one
    expected, should the page have shown it already); returns its text."""
    before = text_of(driver, "Tprof")
    click(driver, "run")

    def shown(d):
        now = text_of(d, "Tprof")
        if not now or (expected_tprof is None and now == before):
            return False
        if expected_tprof is not None and now == expected_tprof:
            return now
        try:
            float(now)
        except ValueError:
            return False        # e.g. a "running" note
        return now if now != before else False

    return wait_for(driver, shown, "#Tprof to show the profit of the run")


def set_sweep(driver, name, start, end, steps):
    """Fills the sweep's fields: #sweep-name is a <select> or a text field."""
    name_field = wait_for(driver, lambda d: element(d, "sweep-name"), "the field #sweep-name")
    if name_field.tag_name.lower() == "select":
        Select(name_field).select_by_value(name)
    else:
        set_field(driver, "sweep-name", name)
    set_field(driver, "sweep-from", start)
    set_field(driver, "sweep-to", end)
    set_field(driver, "sweep-steps", str(steps))


SWEEP_LINES = "#sweep-chart svg path, #sweep-chart svg polyline, #sweep-chart svg circle"


def sweep_and_wait(driver):
    click(driver, "sweep-run")
    return wait_for(driver, lambda d: d.find_elements(By.CSS_SELECTOR, SWEEP_LINES),
                    "#sweep-chart to hold an <svg> with a path, polyline or circle")


def full_page_png(driver):
    """A PNG of the whole document (beyond the window's height), through the
    DevTools protocol."""
    import base64
    metrics = driver.execute_cdp_cmd("Page.getLayoutMetrics", {})
    size = metrics.get("cssContentSize") or metrics["contentSize"]
    shot = driver.execute_cdp_cmd("Page.captureScreenshot", {
        "format": "png", "captureBeyondViewport": True,
        "clip": {"x": 0, "y": 0, "width": size["width"], "height": size["height"], "scale": 1}})
    return base64.b64decode(shot["data"])


def severe_console_entries(driver):
    return [entry for entry in driver.get_log("browser") if entry.get("level") == "SEVERE"]


# ---------------------------------------------------------------- the checks

def same_to_six_digits(text, weight):
    """The page shows a weight as Number(w).toPrecision(6)."""
    try:
        shown = float(text)
    except (TypeError, ValueError):
        return False
    expected = float(f"{weight:.6g}")
    return shown == expected or abs(shown - expected) <= 1e-12 * abs(expected)


def check_run(driver, expected):
    """Changes the base milk price on the page, runs, and compares the profit
    and two weights with the command line's --json document `expected`."""
    print(f"Run with {PRICE_NAME}={PRICE_VALUE} on the page against the command line")
    field_id = f"in-{PRICE_NAME}"
    wait_for(driver, lambda d: element(d, field_id), f"the field #{field_id}")
    set_field(driver, field_id, PRICE_VALUE)
    check(element(driver, field_id).get_attribute("value") == PRICE_VALUE,
          f"#{field_id} holds {PRICE_VALUE} after typing it "
          f"(it holds {element(driver, field_id).get_attribute('value')!r})")

    tprof = format(expected["totals"]["Tprof"], ".2f")
    shown = run_and_wait(driver, tprof)
    check(shown == tprof, f"#Tprof shows {tprof}, the command line's Tprof to 2 decimals (it shows {shown!r})")

    weights = {(w["trait"], w["column"]): w for w in expected["weights"]}
    for trait in COMPARED_TRAITS:
        row = weights.get((trait, "pure-bred"))
        check(row is not None and row["status"] == "evaluated" and row["weight"] is not None,
              f"the command line evaluates the pure-bred weight of trait {trait}")
        weight_id = f"w-{trait}-{PURE_BRED}"
        text = wait_for(driver, lambda d: text_of(d, weight_id), f"#{weight_id} to show a weight")
        check(same_to_six_digits(text, row["weight"]),
              f"#{weight_id} ({row['name']}) shows {row['weight']:.6g}, the command line's weight "
              f"to 6 digits (it shows {text!r})")


def check_sweep(driver):
    print(f"Sweep of {PRICE_NAME} from 0.8 to 1.2 in 3 steps")
    set_sweep(driver, PRICE_NAME, "0.8", "1.2", 3)
    drawn = sweep_and_wait(driver)
    check(len(drawn) > 0, f"#sweep-chart draws its line ({len(drawn)} path/polyline/circle elements)")


def check_undo(driver, file_value):
    print(f"Undo of a change of {UNDO_NAME}")
    field_id = f"in-{UNDO_NAME}"
    set_field(driver, field_id, UNDO_VALUE)
    check(element(driver, field_id).get_attribute("value") == UNDO_VALUE,
          f"#{field_id} holds {UNDO_VALUE} after typing it")
    click(driver, f"undo-{UNDO_NAME}")
    value = wait_for(driver, lambda d: (v := element(d, field_id).get_attribute("value")) != UNDO_VALUE and v,
                     f"#undo-{UNDO_NAME} to give #{field_id} its value back")
    check(float(value) == float(file_value),
          f"#undo-{UNDO_NAME} gives #{field_id} the file's value {file_value} back (it holds {value!r})")


SAVE_REFUSED = re.compile(r"\b(error|fail|refus|not saved|cannot|could not|nothing)", re.I)


def check_save(driver, directory, rows):
    """Saves on the page and checks that the changed number's bytes, and only
    they, changed in its file."""
    row = next(r for r in rows if r["name"] == PRICE_NAME)
    print(f"Save of {PRICE_NAME}={PRICE_VALUE} into {row['file']} line {row['line']}")
    before = read_files(directory)
    expected = dict(before)
    expected[row["file"]], old_text = bytes_with_number_replaced(before[row["file"]], int(row["line"]),
                                                                 row["value"], PRICE_VALUE)
    click(driver, "save")

    def saved_or_refused(d):
        status = text_of(d, "save-status") or ""
        if SAVE_REFUSED.search(status):
            return status
        return status if read_files(directory)[row["file"]] != before[row["file"]] else False

    status = wait_for(driver, saved_or_refused, f"#save-status to report the save and {row['file']} to change")
    check(not SAVE_REFUSED.search(status) and row["file"] in status,
          f"#save-status reports success, naming {row['file']} (it reads {status!r})")
    after = read_files(directory)
    check(after[row["file"]] == expected[row["file"]],
          f"{row['file']} holds its old bytes with {old_text} replaced by {PRICE_VALUE} on line "
          f"{row['line']}\n--- expected:\n{expected[row['file']].decode(errors='replace')}"
          f"\n--- found:\n{after[row['file']].decode(errors='replace')}")
    changed = [name for name in before if name != row["file"] and after.get(name) != before[name]]
    check(not changed, f"every other file is unchanged byte for byte (changed: {changed})")
    new_files = sorted(set(after) - set(before))
    check(not new_files, f"the save leaves no new file in the directory (new: {new_files})")
    # The page reloads the inputs after a save: the saved value is the new base.
    field_id = f"in-{PRICE_NAME}"
    value = wait_for(driver, lambda d: element(d, field_id) and element(d, field_id).get_attribute("value"),
                     f"#{field_id} after the save")
    check(float(value) == float(PRICE_VALUE), f"#{field_id} shows the saved value {PRICE_VALUE} (it holds {value!r})")


def check_console(driver):
    print("The browser's console")
    severe = severe_console_entries(driver)
    check(not severe, "the browser's console holds no SEVERE entry" +
          "".join(f"\n  {entry['message']}" for entry in severe))


def run_checks(program, source, work):
    print(f"Command line: karvel1 --set {PRICE_NAME}={PRICE_VALUE} on a copy of the dairy example")
    expected = command_line_run(program, copy_example(source, work, "cli"), {PRICE_NAME: PRICE_VALUE})
    served = copy_example(source, work, "served")
    rows = list_inputs(program, served)

    print(f"Server: karvel1 serve {served} --port 0")
    server = Server(program, served, os.path.join(work, "server.log"))
    driver = None
    try:
        check(server.served_dir == served, f"the line names the directory served ({server.first_line!r})")
        driver = start_browser(os.path.join(work, "profile"))
        driver.get(server.url)
        check_run(driver, expected)
        check_sweep(driver)
        check_undo(driver, next(r["value"] for r in rows if r["name"] == UNDO_NAME))
        check_save(driver, served, rows)
        check_console(driver)
    except Exception:
        if driver is not None:
            try:
                png = os.path.join(work, "failure.png")
                with open(png, "wb") as f:
                    f.write(full_page_png(driver))
                print(f"The page at the failure: {png}", file=sys.stderr)
            except Exception:
                pass
        print("Server's standard error:\n" + server.stderr_text(), file=sys.stderr)
        raise
    finally:
        if driver is not None:
            driver.quit()
        status = server.stop()
    check(status == 0, f"the server ends with status 0 on SIGINT (status {status})")


def main():
    # The checks' lines and the failure's message come in the order they happen.
    sys.stdout.reconfigure(line_buffering=True)
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--program", required=True, help="the karvel1 to test")
    parser.add_argument("--source", required=True, help="the source tree (for examples/dairy)")
    parser.add_argument("--keep", action="store_true", help="keep the temporary directory")
    args = parser.parse_args()
    program = os.path.abspath(args.program)
    work = tempfile.mkdtemp(prefix="karvel1-page-test-")
    failed = False
    try:
        run_checks(program, os.path.abspath(args.source), work)
    except CheckFailed as failure:
        print(f"FAILED: {failure}", file=sys.stderr)
        failed = True
    except Exception:
        traceback.print_exc()
        failed = True
    finally:
        if args.keep or failed:
            print(f"Files of the test: {work}", file=sys.stderr)
        else:
            shutil.rmtree(work, ignore_errors=True)
    print("FAILED" if failed else "All checks of the page hold.")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
