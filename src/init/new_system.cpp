#include "init/new_system.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <iterator>
#include <system_error>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "context/system_files.h"
#include "init/bundled.h"

namespace {

// Every name the program reads from a working directory.  A directory that
// holds any of them already holds (part of) a system: the new files would
// mix with it, so init refuses it even where the example does not write
// that name (INPUTS07.TXT of another system beside the dairy example).
// SD.TXT, the table of standard deviations of the examples, counts too.
std::vector<std::string> systemFileNames() {
    std::vector<std::string> names(std::begin(kSystemFiles), std::end(kSystemFiles));
    names.push_back("SD.TXT");
    return names;
}

// An entry of any kind, a dangling link included, counts as present.
bool present(const std::filesystem::path& path) {
    struct stat st;
    return lstat(path.c_str(), &st) == 0;
}

// "A, B and C".
std::string listed(const std::vector<std::string>& names) {
    std::string text;
    for (size_t i = 0; i < names.size(); ++i) {
        if (i > 0) text += i + 1 == names.size() ? " and " : ", ";
        text += names[i];
    }
    return text;
}

// Writes a new file, never one that exists (O_EXCL, also against a
// symbolic link), with the permissions of the user's umask.
bool writeNewFile(const std::filesystem::path& path, std::string_view bytes, std::string& error) {
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) {
        error = path.string() + " cannot be created (" + std::strerror(errno) + ")";
        return false;
    }
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            error = path.string() + " cannot be written completely (" + std::strerror(n < 0 ? errno : ENOSPC) + ")";
            close(fd);
            unlink(path.c_str());
            return false;
        }
        done += size_t(n);
    }
    if (close(fd) != 0) {
        error = path.string() + " cannot be written completely (" + std::strerror(errno) + ")";
        unlink(path.c_str());
        return false;
    }
    return true;
}

}  // namespace

std::vector<std::string_view> bundledExampleNames() {
    std::vector<std::string_view> names;
    for (const BundledFile& f : bundledFiles())
        if (names.empty() || names.back() != f.example) names.push_back(f.example);
    return names;
}

bool writeExampleSystem(std::string_view example, const std::filesystem::path& dir,
                        std::vector<std::string>& written, std::string& error) {
    written.clear();
    // In the order of the system's own files: PARAS.TXT, the input files,
    // TEXTS_OUT.TXT, SD.TXT.
    const std::vector<std::string> names = systemFileNames();
    const auto rank = [&](std::string_view name) { return std::find(names.begin(), names.end(), name) - names.begin(); };
    std::vector<const BundledFile*> files;
    for (const BundledFile& f : bundledFiles())
        if (f.example == example) files.push_back(&f);
    std::stable_sort(files.begin(), files.end(),
                     [&](const BundledFile* a, const BundledFile* b) { return rank(a->name) < rank(b->name); });
    if (files.empty()) {
        error = "there is no bundled example named " + std::string(example);
        return false;
    }

    std::error_code ec;
    if (present(dir) && !std::filesystem::is_directory(dir, ec)) {
        error = dir.string() + " exists and is not a directory: choose another name";
        return false;
    }
    std::filesystem::create_directories(dir, ec);
    if (ec) {
        error = "the directory " + dir.string() + " cannot be created (" + ec.message() +
                "): choose a place where you may create directories";
        return false;
    }
    std::vector<std::string> found;
    for (const std::string& name : names)
        if (present(dir / name)) found.push_back(name);
    if (!found.empty()) {
        error = dir.string() + " already holds " + listed(found) +
                ": nothing was written.  Choose a new or empty directory, or move those files away first";
        return false;
    }

    for (const BundledFile* f : files) {
        if (!writeNewFile(dir / std::string(f->name), f->bytes, error)) {
            // Leave the directory as it was found: no half-written system.
            bool removed = true;
            for (const std::string& name : written)
                if (!std::filesystem::remove(dir / name, ec)) removed = false;
            error += removed ? "; nothing was left written" : "; the files written before it could not all be removed";
            error += ".  Choose a directory where you may write and that has room for about 100 kB";
            written.clear();
            return false;
        }
        written.emplace_back(f->name);
    }
    return true;
}
