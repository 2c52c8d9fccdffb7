// Validation of saved toolbar layouts.
#include "app/frame/ToolbarLayout.h"

#include <cerrno>
#include <cstdlib>
#include <map>
#include <set>

namespace {

// Pane state bits of the layout format.
constexpr unsigned long kFloating = 1ul << 0;
constexpr unsigned long kHidden = 1ul << 1;
constexpr unsigned long kToolbar = 1ul << 13;
constexpr unsigned long kMaximized = 1ul << 16;

constexpr int kDockCentre = 5;
// No docked row of toolbars is anywhere near this tall or wide (pixels).
constexpr long kMaxDockSize = 400;
constexpr long kMaxPaneSize = 4000;
constexpr long kMaxFloatPosition = 20000;

std::vector<std::string> Split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    size_t start = 0;
    while (true) {
        size_t end = text.find(separator, start);
        parts.push_back(text.substr(start, end == std::string::npos ? end : end - start));
        if (end == std::string::npos) {
            return parts;
        }
        start = end + 1;
    }
}

bool ParseLong(const std::string& text, long& value) {
    if (text.empty() || text.size() > 12) {
        return false;
    }
    char* end = nullptr;
    errno = 0;
    value = std::strtol(text.c_str(), &end, 10);
    return errno == 0 && end != nullptr && *end == '\0';
}

bool InRange(const std::map<std::string, std::string>& fields, const char* key, long low,
             long high, long* result = nullptr) {
    auto found = fields.find(key);
    long value = 0;
    if (found == fields.end() || !ParseLong(found->second, value) || value < low ||
        value > high) {
        return false;
    }
    if (result != nullptr) {
        *result = value;
    }
    return true;
}

bool IsUsablePane(const std::string& part, const std::string& centrePane, std::string& name) {
    std::map<std::string, std::string> fields;
    for (const std::string& field : Split(part, ';')) {
        size_t equals = field.find('=');
        if (equals == std::string::npos) {
            return false;
        }
        if (!fields.emplace(field.substr(0, equals), field.substr(equals + 1)).second) {
            return false;
        }
    }
    auto found = fields.find("name");
    if (found == fields.end()) {
        return false;
    }
    name = found->second;
    long state = 0;
    long direction = 0;
    if (!InRange(fields, "state", 0, 0x7FFFFFFF, &state) ||
        !InRange(fields, "dir", 0, kDockCentre, &direction) ||
        !InRange(fields, "layer", 0, 100) || !InRange(fields, "row", 0, 100) ||
        !InRange(fields, "pos", -kMaxFloatPosition, kMaxFloatPosition) ||
        !InRange(fields, "prop", 0, 100000000) ||
        !InRange(fields, "bestw", -1, kMaxPaneSize) ||
        !InRange(fields, "besth", -1, kMaxPaneSize) ||
        !InRange(fields, "minw", -1, kMaxPaneSize) || !InRange(fields, "minh", -1, kMaxPaneSize) ||
        !InRange(fields, "maxw", -1, kMaxPaneSize) || !InRange(fields, "maxh", -1, kMaxPaneSize) ||
        !InRange(fields, "floatx", -kMaxFloatPosition, kMaxFloatPosition) ||
        !InRange(fields, "floaty", -kMaxFloatPosition, kMaxFloatPosition) ||
        !InRange(fields, "floatw", -1, kMaxPaneSize) ||
        !InRange(fields, "floath", -1, kMaxPaneSize)) {
        return false;
    }
    unsigned long bits = static_cast<unsigned long>(state);
    if (name == centrePane) {
        // The document area is never hidden, floated or moved out of the centre.
        return direction == kDockCentre && (bits & (kHidden | kFloating | kMaximized)) == 0;
    }
    // A toolbar stays a toolbar, docked at a side or floating.
    return (bits & kToolbar) != 0 && (bits & kMaximized) == 0 &&
           (direction != kDockCentre || (bits & kFloating) != 0);
}

bool IsUsableDockSize(const std::string& part) {
    // dock_size(direction,layer,row)=size
    size_t open = part.find('(');
    size_t close = part.find(")=");
    if (part.compare(0, open, "dock_size") != 0 || open == std::string::npos ||
        close == std::string::npos || close < open) {
        return false;
    }
    std::vector<std::string> numbers = Split(part.substr(open + 1, close - open - 1), ',');
    long direction = 0;
    long size = 0;
    if (numbers.size() != 3 || !ParseLong(numbers[0], direction) || direction < 0 ||
        direction > kDockCentre || !ParseLong(part.substr(close + 2), size) || size < 0) {
        return false;
    }
    for (size_t i = 1; i < numbers.size(); ++i) {
        long value = 0;
        if (!ParseLong(numbers[i], value) || value < 0 || value > 100) {
            return false;
        }
    }
    return direction == kDockCentre ? size <= kMaxPaneSize : size <= kMaxDockSize;
}

} // namespace

bool IsUsableToolbarLayout(const std::string& layout, const std::vector<std::string>& paneNames,
                           const std::string& centrePane) {
    std::vector<std::string> parts = Split(layout, '|');
    if (parts.empty() || parts[0] != "layout2") {
        return false;
    }
    std::set<std::string> expected(paneNames.begin(), paneNames.end());
    std::set<std::string> seen;
    for (size_t i = 1; i < parts.size(); ++i) {
        const std::string& part = parts[i];
        if (part.empty()) {
            // Only the end of the text may be empty.
            if (i + 1 != parts.size()) {
                return false;
            }
            continue;
        }
        if (part.compare(0, 10, "dock_size(") == 0) {
            if (!IsUsableDockSize(part)) {
                return false;
            }
            continue;
        }
        std::string name;
        if (!IsUsablePane(part, centrePane, name) || expected.count(name) == 0 ||
            !seen.insert(name).second) {
            return false;
        }
    }
    return seen == expected;
}
