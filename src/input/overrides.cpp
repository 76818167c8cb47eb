#include "input/overrides.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unordered_set>

#include "context/run.h"
#include "input/reader.h"
#include "model/model.h"

namespace {

constexpr const char* kListHint = "\n  'karvel1 --list' shows the name of every number of the input files.";

// The number text as the reader stores it into an element of kind k.
double asStored(const std::string& text, quantities::Kind k) {
    if (k == quantities::Kind::Int) return double(std::strtoll(text.c_str(), nullptr, 10));
    if (k == quantities::Kind::Real) return toStored(text.c_str());
    return std::strtod(text.c_str(), nullptr);
}

}  // namespace

bool parseOverride(const std::string& text, bool scale, Override& o, std::string& error) {
    o = Override{};
    o.scale = scale;
    o.option = scale ? "--scale" : "--set";
    const char* what = o.option.c_str();
    const std::size_t eq = text.find('=');
    if (eq == std::string::npos) {
        error = std::string(what) + " " + text + ": expected NAME=" + (scale ? "FACTOR" : "VALUE") +
                ", for example " + (scale ? "mwE[1]=1.1" : "mwE[1]=75");
        return false;
    }
    o.name = text.substr(0, eq);
    o.valueText = text.substr(eq + 1);
    std::size_t i = 0;
    while (i < o.name.size() && (std::isalnum(static_cast<unsigned char>(o.name[i])) || o.name[i] == '_')) ++i;
    const std::string base = o.name.substr(0, i);
    std::vector<int> idx;
    while (i < o.name.size()) {
        const std::size_t close = o.name.find(']', i);
        if (o.name[i] != '[' || close == std::string::npos || close == i + 1) break;
        const std::string n = o.name.substr(i + 1, close - i - 1);
        bool digits = n.size() <= 6;
        for (char c : n) digits = digits && std::isdigit(static_cast<unsigned char>(c));
        if (n == "*") idx.push_back(Override::kAny);
        else if (digits) idx.push_back(std::atoi(n.c_str()));
        else break;
        i = close + 1;
    }
    if (base.empty() || i != o.name.size()) {
        error = std::string(what) + " " + text + ": \"" + o.name +
                "\" is not a quantity name with indices such as mwE[1], prfE[2][1] or prfE[*][1]";
        return false;
    }
    if (!decimalNumber(o.valueText.c_str())) {
        error = std::string(what) + " " + text + ": \"" + o.valueText + "\" is not a decimal number";
        return false;
    }
    errno = 0;
    o.number = std::strtod(o.valueText.c_str(), nullptr);
    if (errno == ERANGE && std::fabs(o.number) < 1) {
        error = std::string(what) + " " + text + ": " + o.valueText + " is too close to 0 for the program; write 0";
        return false;
    }
    if (errno == ERANGE || !std::isfinite(o.number) || std::fabs(o.number) > 3e38) {
        error = std::string(what) + " " + text + ": " + o.valueText + " is too large";
        return false;
    }
    o.base = base;
    o.idx = idx;
    // A * index is checked as index 0: the quantity and the rank must fit.
    std::vector<int> concrete = idx;
    for (int& k : concrete)
        if (k == Override::kAny) k = 0;
    std::vector<int> caps;
    switch (quantities::find(base, concrete, o.element, caps)) {
    case quantities::Found::Ok: return true;
    case quantities::Found::UnknownName: {
        error = std::string(what) + " " + text + ": there is no quantity " + base + ".";
        const auto close = quantities::closeNames(base);
        if (!close.empty()) {
            error += " Close names:";
            for (const auto& n : close) error += " " + n;
        }
        error += kListHint;
        return false;
    }
    case quantities::Found::WrongIndexCount:
    case quantities::Found::IndexOutOfRange: {
        std::string form = base;
        for (int c : caps) form += "[0.." + std::to_string(c - 1) + "]";
        error = std::string(what) + " " + text + ": " + (caps.empty() ? base + " has no indices" : "the element must be " + form) +
                kListHint;
        return false;
    }
    }
    return false;
}

std::string decimalText(double v) {
    // 15 significant digits: the product 0.16 * 1.1 is 0.176, as a person
    // multiplying the number would write it, not 0.17600000000000002.
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.15g", v);
    return buf;
}

bool Override::pattern() const {
    for (int k : idx)
        if (k == kAny) return true;
    return false;
}

std::string valueText(const TracedNumber& t) {
    const quantities::Element& e = t.element;
    const double v = asStored(t.usedText, e.kind);
    char buf[64];
    if (e.kind == quantities::Kind::Int) {
        std::snprintf(buf, sizeof buf, "%d", int(v));
    } else {
        const auto r = e.kind == quantities::Kind::Real ? std::to_chars(buf, buf + sizeof buf - 1, RealStored(v))
                                                        : std::to_chars(buf, buf + sizeof buf - 1, v);
        *r.ptr = '\0';
    }
    return buf;
}

void Overrides::opened(Run&, InFile& in) {
    in.numbers = 0;
    haveLast_ = false;
}

void Overrides::closed(Run& run, InFile& in) {
    haveLast_ = false;
    if (!tracing) return;
    // The numbers of this file stand at the end of the trace.
    for (auto t = trace.rbegin(); t != trace.rend() && t->where.file == in.name; ++t)
        if (!t->date)
            t->storedAsRead = quantities::value(run.m, t->element) == asStored(t->usedText, t->element.kind);
}

void Overrides::number(Run&, InFile& in, char* text, std::size_t capacity, bool whole) {
    if (tracing) {
        haveLast_ = true;
        last_ = Override::Where{in.name, in.numbers, in.numberLine, in.record + 1, whole, text, in.numberOffset};
    }
    for (Override& o : items)
        if (o.at.token == in.numbers && o.at.file == in.name && !o.usedText.empty()) {
            std::snprintf(text, capacity, "%s", o.usedText.c_str());
            o.applied = true;
        }
    if (tracing) lastUsed_ = text;
    ++in.numbers;
}

void Overrides::stored(Run& run, InFile&, const void* element, bool date) {
    if (!tracing || !haveLast_) return;
    std::size_t offset = 0;
    if (!quantities::offsetIn(run.m, element, offset)) return;  // a value the reading code keeps for itself
    TracedNumber t;
    if (!quantities::elementAt(offset, t.base, t.idx, t.element)) return;
    t.where = last_;
    t.name = quantities::elementName(t.base, t.idx);
    t.usedText = lastUsed_;
    t.date = date;
    trace.push_back(std::move(t));
    haveLast_ = false;
}

void Overrides::recordRead(InFile& in) {
    if (!tracing) return;
    for (auto t = trace.rbegin(); t != trace.rend() && t->where.file == in.name && t->where.record == in.record + 1;
         ++t) {
        t->label = in.lastName;
        t->unit = in.lastUnit;
    }
}

void Overrides::startTracing() {
    trace.clear();
    haveLast_ = false;
    for (Override& o : items) o.applied = false;
}

std::vector<const TracedNumber*> Overrides::changeable() const {
    // The last number stored into an element is the one it holds.
    std::vector<const TracedNumber*> out;
    std::unordered_set<std::size_t> seen;
    for (auto t = trace.rbegin(); t != trace.rend(); ++t) {
        if (!seen.insert(t->element.offset).second) continue;
        if (t->storedAsRead && !t->date) out.push_back(&*t);
    }
    std::reverse(out.begin(), out.end());
    return out;
}

const TracedNumber* Overrides::numberOf(const quantities::Element& e) const {
    for (auto t = trace.rbegin(); t != trace.rend(); ++t)
        if (t->element.offset == e.offset) return &*t;
    return nullptr;
}

namespace {

bool matches(const Override& o, const TracedNumber& t) {
    if (t.base != o.base || t.idx.size() != o.idx.size()) return false;
    for (std::size_t k = 0; k < o.idx.size(); ++k)
        if (o.idx[k] != Override::kAny && o.idx[k] != t.idx[k]) return false;
    return true;
}

// Up to four elements of the quantity that the system reads, for messages.
std::string someReadElements(const std::vector<const TracedNumber*>& numbers, const std::string& base) {
    std::string s;
    int n = 0;
    for (const TracedNumber* t : numbers) {
        if (t->base != base) continue;
        if (n == 4) return s + " and others";
        s += (n++ ? ", " : "") + t->name;
    }
    return s;
}

}  // namespace

bool Overrides::locate(bool complete, std::string& error, bool& same) {
    // The changes as asked for, patterns included: each reading expands the
    // patterns anew, since a change of a count of cycles or of an option
    // changes which elements the system reads.
    if (asked_.empty()) asked_ = items;
    const auto numbers = changeable();
    // A pattern becomes the elements it matches, in reading order.
    std::vector<Override> expanded;
    for (const Override& o : asked_) {
        if (!o.pattern()) {
            expanded.push_back(o);
            continue;
        }
        std::size_t found = 0;
        for (const TracedNumber* t : numbers)
            if (matches(o, *t)) {
                Override e = o;
                e.name = t->name;
                e.idx = t->idx;
                e.element = t->element;
                expanded.push_back(e);
                ++found;
            }
        if (found == 0 && complete) {
            const std::string some = someReadElements(numbers, o.base);
            error = o.option + " " + o.name + ": no element of " + o.name + " is read from the input files of this system" +
                    (some.empty() ? "." : " (it reads " + some + ").") + kListHint;
            return false;
        }
        // A reading that stopped early: the pattern waits, unplaced.
        if (found == 0) expanded.push_back(o);
    }
    for (std::size_t i = 0; i < expanded.size(); ++i)
        for (std::size_t j = 0; j < i; ++j)
            if (!expanded[i].pattern() && expanded[i].element.offset == expanded[j].element.offset) {
                error = expanded[i].name + " is changed twice on the command line";
                return false;
            }

    same = expanded.size() == items.size();
    for (std::size_t i = 0; i < expanded.size(); ++i) {
        Override& o = expanded[i];
        // The change as the reading before placed it, to tell whether its
        // place moved.
        const Override* before = i < items.size() && items[i].name == o.name ? &items[i] : nullptr;
        if (!before) same = false;
        const std::string what = o.option + " " + o.name + ": ";
        const TracedNumber* t = o.pattern() ? nullptr : numberOf(o.element);
        if (!t && !complete) {
            // The reading stopped before this number (the inputs stop the
            // run there, or a change placed by an earlier reading landed on
            // another number): not made in the next reading.
            o.at = Override::Where{};
            o.usedText.clear();
            if (before && !(before->at == o.at)) same = false;
            continue;
        }
        if (!t) {
            const std::string some = someReadElements(numbers, o.base);
            if (!some.empty())
                error = what + "this system does not read " + o.name + " from its input files; of " + o.base +
                        " it reads " + some + "." + kListHint;
            else
                error = what + o.name +
                        " is not read from an input file of this system: the model computes it,\n"
                        "  or this system does not use it. Only numbers that stand in the input files can be "
                        "changed." + kListHint;
            return false;
        }
        if (t->date) {
            error = what + o.name + " is the date of " + t->where.file + ", record " + std::to_string(t->where.record) +
                    " (line " + std::to_string(t->where.line) +
                    "),\n  written there as year, month and day, not as one number. Change the date in the file "
                    "instead.";
            return false;
        }
        if (!t->storedAsRead) {
            error = what + o.name + " is read from " + t->where.file + ", line " + std::to_string(t->where.line) +
                    " (record " + std::to_string(t->where.record) +
                    "), but the program changes it while reading\n  that file, so it is not one number of the "
                    "file. Change that number in the file instead.";
            return false;
        }
        o.at = t->where;
        if (before && !(before->at == o.at)) same = false;
    }
    items = std::move(expanded);
    return true;
}

bool Overrides::prepare(std::string& error) {
    for (Override& o : items) {
        o.applied = false;
        if (o.at.token < 0) continue;  // not placed: the reading stops before its number
        const std::string what = o.option + " " + o.name + ": ";
        const double fileValue = asStored(o.at.text, o.element.kind);
        const double v = o.scale ? fileValue * o.number : o.number;
        if (o.at.whole) {
            bool whole = v == std::floor(v) && std::fabs(v) < 2147483648.0;
            if (!o.scale)
                for (char c : o.valueText) whole = whole && (std::isdigit(static_cast<unsigned char>(c)) || c == '-' || c == '+');
            if (!whole) {
                error = what + o.name + " is a whole number (" + o.at.file + ", line " + std::to_string(o.at.line) +
                        ", record " + std::to_string(o.at.record) + "); " +
                        (o.scale ? "the factor makes it " + decimalText(v) + "." : o.valueText + " is not a whole number.");
                return false;
            }
        }
        char buf[64];
        if (!o.scale) std::snprintf(buf, sizeof buf, "%s", o.valueText.c_str());
        else if (o.at.whole) std::snprintf(buf, sizeof buf, "%.0f", v);
        else std::snprintf(buf, sizeof buf, "%s", decimalText(v).c_str());
        o.usedText = buf;
    }
    return true;
}
