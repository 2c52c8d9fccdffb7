// Resource compiler: reads a resource list and writes a C++ file holding every resource as
// constant data, so that the programs find their texts and pictures without installed files.
//
// Resource list lines (blank lines and lines starting with '#' are skipped):
//   STRINGS <langid> <file|folder>  a string table file in one language, or every *.txt file of
//                                  a folder in name order
//   BITMAP  <id> <langid> <file>   a Windows BMP file
//   DATA    <type> <id> <langid> <file>   any other resource, by numeric type
// Paths are relative to the list's folder.
//
// String table files: "<id><TAB or blank><text>" per line; the text runs to the end of the line
// and knows the escapes \n, \r, \t and \\. Lines that are empty or start with '#' are skipped.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

namespace {

constexpr unsigned kTypeBitmap = 2;
constexpr unsigned kTypeString = 6;

struct Resource {
    unsigned type;
    unsigned id;
    unsigned langId;
    std::string bytes;
    std::string origin;
};

[[noreturn]] void Fail(const std::string& where, const std::string& what) {
    std::cerr << where << ": error: " << what << "\n";
    std::exit(1);
}

std::string ReadWholeFile(const std::filesystem::path& path, const std::string& where) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        Fail(where, "cannot read " + path.string());
    }
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

unsigned ParseNumber(const std::string& text, const std::string& where) {
    char* end = nullptr;
    unsigned long value = std::strtoul(text.c_str(), &end, 0);
    if (text.empty() || *end != '\0' || value > 0xFFFFFFFFul) {
        Fail(where, "not a number: '" + text + "'");
    }
    return static_cast<unsigned>(value);
}

std::string Unescape(const std::string& text, const std::string& where) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\') {
            out += text[i];
            continue;
        }
        if (++i == text.size()) {
            Fail(where, "backslash at the end of a line");
        }
        switch (text[i]) {
        case 'n': out += '\n'; break;
        case 'r': out += '\r'; break;
        case 't': out += '\t'; break;
        case '\\': out += '\\'; break;
        default: Fail(where, std::string("unknown escape \\") + text[i]);
        }
    }
    return out;
}

void ReadStringTable(const std::filesystem::path& path, unsigned langId,
                     std::vector<Resource>& resources) {
    std::string content = ReadWholeFile(path, path.string());
    std::istringstream lines(content);
    std::string line;
    int lineNumber = 0;
    while (std::getline(lines, line)) {
        ++lineNumber;
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        if (line.empty() || line[0] == '#') {
            continue;
        }
        std::string where = path.string() + ":" + std::to_string(lineNumber);
        size_t idEnd = line.find_first_of(" \t");
        std::string idText = line.substr(0, idEnd);
        std::string text = idEnd == std::string::npos ? "" : line.substr(idEnd + 1);
        resources.push_back({kTypeString, ParseNumber(idText, where), langId,
                             Unescape(text, where), where});
    }
}

std::vector<std::string> SplitWords(const std::string& line) {
    std::istringstream in(line);
    std::vector<std::string> words;
    std::string word;
    while (in >> word) {
        words.push_back(word);
    }
    return words;
}

void WriteByteArray(std::ostream& out, const std::string& bytes) {
    out << "{";
    for (size_t i = 0; i < bytes.size(); ++i) {
        if (i % 20 == 0) {
            out << "\n    ";
        }
        out << static_cast<unsigned>(static_cast<unsigned char>(bytes[i])) << ",";
    }
    // Every resource ends with a NUL byte (not counted in its size) so texts can be used in place.
    out << "0}";
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::cerr << "usage: zarnel_resgen <resource list> <output.cpp> <function name>\n";
        return 2;
    }
    std::filesystem::path listPath = argv[1];
    std::string listText = ReadWholeFile(listPath, listPath.string());
    std::filesystem::path folder = listPath.parent_path();

    std::vector<Resource> resources;
    std::istringstream lines(listText);
    std::string line;
    int lineNumber = 0;
    while (std::getline(lines, line)) {
        ++lineNumber;
        std::string where = listPath.string() + ":" + std::to_string(lineNumber);
        std::vector<std::string> words = SplitWords(line);
        if (words.empty() || words[0][0] == '#') {
            continue;
        }
        if (words[0] == "STRINGS" && words.size() == 3) {
            std::filesystem::path source = folder / words[2];
            std::vector<std::filesystem::path> files;
            if (std::filesystem::is_directory(source)) {
                for (const auto& item : std::filesystem::directory_iterator(source)) {
                    if (item.path().extension() == ".txt") {
                        files.push_back(item.path());
                    }
                }
                std::sort(files.begin(), files.end());
            } else {
                files.push_back(source);
            }
            for (const auto& file : files) {
                ReadStringTable(file, ParseNumber(words[1], where), resources);
            }
        } else if (words[0] == "BITMAP" && words.size() == 4) {
            std::string bytes = ReadWholeFile(folder / words[3], where);
            // Resources keep a bitmap without its 14-byte file header, as the platform did.
            if (bytes.size() < 14 || bytes[0] != 'B' || bytes[1] != 'M') {
                Fail(where, "not a BMP file: " + words[3]);
            }
            resources.push_back({kTypeBitmap, ParseNumber(words[1], where),
                                 ParseNumber(words[2], where), bytes.substr(14), where});
        } else if (words[0] == "DATA" && words.size() == 5) {
            resources.push_back({ParseNumber(words[1], where), ParseNumber(words[2], where),
                                 ParseNumber(words[3], where),
                                 ReadWholeFile(folder / words[4], where), where});
        } else {
            Fail(where, "cannot understand '" + line + "'");
        }
    }

    std::map<std::tuple<unsigned, unsigned, unsigned>, std::string> seen;
    for (const Resource& resource : resources) {
        auto key = std::make_tuple(resource.type, resource.id, resource.langId);
        auto [it, inserted] = seen.emplace(key, resource.origin);
        if (!inserted) {
            Fail(resource.origin, "resource " + std::to_string(resource.id) +
                                      " defined twice (first at " + it->second + ")");
        }
    }

    std::ostringstream out;
    out << "// Generated from " << listPath.filename().string() << "; do not edit.\n"
        << "#include \"support/ResourceModule.h\"\n\nnamespace {\n";
    for (size_t i = 0; i < resources.size(); ++i) {
        out << "const unsigned char kData" << i << "[] = ";
        WriteByteArray(out, resources[i].bytes);
        out << ";\n";
    }
    out << "const ResourceEntry kEntries[] = {\n";
    for (size_t i = 0; i < resources.size(); ++i) {
        const Resource& r = resources[i];
        out << "    {" << r.type << "u, " << r.id << "u, " << r.langId << "u, kData" << i << ", "
            << r.bytes.size() << "u},\n";
    }
    if (resources.empty()) {
        out << "    {0u, 0u, 0u, nullptr, 0u},\n";
    }
    out << "};\n} // namespace\n\n"
        << "const ResourceModule& " << argv[3] << "() {\n"
        << "    static const ResourceModule module{kEntries, " << resources.size() << "u};\n"
        << "    return module;\n}\n";

    // Write only when the content changes, so an unchanged list does not rebuild its users.
    std::filesystem::path outPath = argv[2];
    std::string generated = out.str();
    if (std::filesystem::exists(outPath) && ReadWholeFile(outPath, outPath.string()) == generated) {
        return 0;
    }
    std::ofstream file(outPath, std::ios::binary | std::ios::trunc);
    file << generated;
    if (!file.good()) {
        Fail(outPath.string(), "cannot write");
    }
    return 0;
}
