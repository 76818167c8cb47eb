#include "input/overrides.h"

#include <cctype>
#include <charconv>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "driver/run.h"
#include "input/reader.h"
#include "model/model.h"

namespace {

// The marker an element holds while its number is looked for: a value that
// no number of an input file is read as (a NaN for reals, an improbable
// integer for whole numbers; the first bytes of it for shorter elements).
constexpr unsigned char kMarker[8] = {0xAD, 0xDE, 0xC1, 0x7F, 0xAD, 0xDE, 0xF9, 0x7F};

void putMarker(Model& m, const quantities::Element& e) { std::memcpy(quantities::bytes(m, e), kMarker, e.size); }

bool hasMarker(const Model& m, const quantities::Element& e) {
    return std::memcmp(quantities::bytes(m, e), kMarker, e.size) == 0;
}

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
                ", for example " + (scale ? "prlwwL[2]=1.1" : "prlwwL[2]=3.1");
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
        if (!digits) break;
        idx.push_back(std::atoi(n.c_str()));
        i = close + 1;
    }
    if (base.empty() || i != o.name.size()) {
        error = std::string(what) + " " + text + ": \"" + o.name +
                "\" is not a quantity name with indices such as prlwwL[2] or Pltype[1][3]";
        return false;
    }
    if (!decimalNumber(o.valueText.c_str())) {
        error = std::string(what) + " " + text + ": \"" + o.valueText + "\" is not a decimal number";
        return false;
    }
    errno = 0;
    o.number = std::strtod(o.valueText.c_str(), nullptr);
    if (errno == ERANGE || !std::isfinite(o.number) || std::fabs(o.number) > 3e38) {
        error = std::string(what) + " " + text + ": " + o.valueText + " is too large";
        return false;
    }
    std::vector<int> caps;
    switch (quantities::find(base, idx, o.element, caps)) {
    case quantities::Found::Ok: return true;
    case quantities::Found::UnknownName: {
        error = std::string(what) + " " + text + ": there is no quantity " + base + ".";
        const auto close = quantities::closeNames(base);
        if (!close.empty()) {
            error += " Close names:";
            for (const auto& n : close) error += " " + n;
        }
        return false;
    }
    case quantities::Found::WrongIndexCount:
    case quantities::Found::IndexOutOfRange: {
        std::string form = base;
        for (int c : caps) form += "[0.." + std::to_string(c - 1) + "]";
        error = std::string(what) + " " + text + ": " + (caps.empty() ? base + " has no indices" : "the element must be " + form);
        return false;
    }
    }
    return false;
}

void Overrides::look(Run& run) {
    // A marked element that no longer holds its marker was written since the
    // last number was read: that number is the quantity's.
    for (std::size_t k = 0; k < marked_.size();) {
        Override& o = items[marked_[k].item];
        if (hasMarker(run.m, o.element)) {
            ++k;
            continue;
        }
        if (haveLast_) {
            o.found = last_;
            o.found.storedAsRead = quantities::value(run.m, o.element) == asStored(lastUsed_, o.element.kind);
        }
        marked_.erase(marked_.begin() + std::ptrdiff_t(k));
    }
}

void Overrides::opened(Run& run, InFile& in) {
    in.numbers = 0;
    if (!locating) return;
    haveLast_ = false;
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (items[i].found.token >= 0) continue;  // found in an earlier file
        Marked mk{i, {}};
        std::memcpy(mk.saved, quantities::bytes(run.m, items[i].element), items[i].element.size);
        putMarker(run.m, items[i].element);
        marked_.push_back(mk);
    }
}

void Overrides::closed(Run& run, InFile&) {
    if (!locating) return;
    look(run);
    // Elements not read from this file get their values back.
    for (const Marked& mk : marked_)
        std::memcpy(quantities::bytes(run.m, items[mk.item].element), mk.saved, items[mk.item].element.size);
    marked_.clear();
    haveLast_ = false;
}

void Overrides::number(Run& run, InFile& in, char* text, std::size_t capacity, bool whole) {
    if (locating) {
        look(run);
        haveLast_ = true;
        last_ = Override::Where{in.name, in.numbers, in.record + 1, whole, text, false};
    }
    for (Override& o : items)
        if (o.at.token == in.numbers && o.at.file == in.name && !o.usedText.empty()) {
            std::snprintf(text, capacity, "%s", o.usedText.c_str());
            o.applied = true;
        }
    if (locating) lastUsed_ = text;
    ++in.numbers;
}

void Overrides::startLocating() {
    for (Override& o : items) {
        o.found = Override::Where{};
        o.applied = false;
    }
    marked_.clear();
    haveLast_ = false;
}

bool Overrides::located(std::string& error) {
    for (const Override& o : items) {
        const std::string what = o.option + " " + o.name + ": ";
        if (o.found.token < 0) {
            error = what + o.name +
                    " is not read from an input file of this system (the model computes it,\n"
                    "  or the system does not use this element). Only numbers that stand in the input files\n"
                    "  can be changed.";
            return false;
        }
        if (!o.found.storedAsRead) {
            error = what + o.name + " is derived from the numbers of " + o.found.file + ", record " +
                    std::to_string(o.found.record) + " (a date, a sum or a ratio),\n  not stored as read." +
                    " Change that record of the file instead.";
            return false;
        }
    }
    return true;
}

bool Overrides::settle() {
    bool same = true;
    for (Override& o : items) {
        if (!(o.found == o.at)) same = false;
        o.at = o.found;
    }
    return same;
}

bool Overrides::prepare(std::string& error) {
    for (Override& o : items) {
        const std::string what = o.option + " " + o.name + ": ";
        const double fileValue = asStored(o.at.text, o.element.kind);
        char buf[64];
        if (!o.scale) std::snprintf(buf, sizeof buf, "%s", o.valueText.c_str());
        else if (o.at.whole) std::snprintf(buf, sizeof buf, "%.0f", fileValue * o.number);
        else {
            // The shortest text of the value the reader makes of the
            // product.
            const auto r = std::to_chars(buf, buf + sizeof buf - 1, RealStored(fileValue * o.number));
            *r.ptr = '\0';
        }
        o.usedText = buf;
        if (o.at.whole) {
            const double v = o.scale ? fileValue * o.number : o.number;
            bool whole = v == std::floor(v) && std::fabs(v) < 2147483648.0;
            if (!o.scale)
                for (char c : o.valueText) whole = whole && (std::isdigit(static_cast<unsigned char>(c)) || c == '-' || c == '+');
            if (!whole) {
                error = what + o.name + " is a whole number (" + o.at.file + ", record " +
                        std::to_string(o.at.record) + "); " +
                        (o.scale ? "the factor makes it " + std::string(buf) + "." : o.valueText + " is not a whole number.");
                return false;
            }
        }
        o.applied = false;
    }
    return true;
}
