// A stand-in for an outside program (an emulator, a tool, wine): it records
// the name it was started under, its working folder and its arguments, one
// to a line, into the file that ZANDREL_STUB_RECORD names, and ends. The
// record appears whole (written beside it, then renamed), so a test that
// waits for it never reads half of it. Started by hand without that
// variable, it prints the same lines.
//
// Asked as wine to import a registry file ("regedit /S Z:\...\file.reg"),
// it keeps a copy of that file as the record's name with ".reg" added and
// as its own registry ("wine-registry.reg" beside itself), and writes no
// record (the program started next writes that). Asked to export a key
// ("regedit /E Z:\...\out.reg KEY"), it writes its registry there as wine
// does (a string value written as hex comes back as an escaped string, cut
// at its first NUL), or nothing when it has none. ZANDREL_STUB_REGEDIT_FAILS
// fails the import with its text as the error output;
// ZANDREL_STUB_REGEDIT_IGNORES ends it with 0 having imported nothing, as
// wine does with a file it can't read; ZANDREL_STUB_REGEDIT_WAIT_MS makes it
// take that long first.

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>
#include <string>
#include <thread>

namespace {

bool writeWhole(const std::string &target, const std::string &text)
{
    const std::string part = target + ".part";
    {
        std::ofstream out(part, std::ios::binary | std::ios::trunc);
        out << text;
        if (!out)
            return false;
    }
    return std::rename(part.c_str(), target.c_str()) == 0;
}

// "Z:\dir\file.reg" as the path it names.
std::string fromWinePath(std::string path)
{
    if (path.rfind("Z:", 0) == 0)
        path.erase(0, 2);
    std::replace(path.begin(), path.end(), '\\', '/');
    return path;
}

std::optional<std::string> readAll(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

int importRegistry(const char *target, const std::string &ownRegistry, const std::string &file)
{
    if (const char *wait = std::getenv("ZANDREL_STUB_REGEDIT_WAIT_MS"))
        std::this_thread::sleep_for(std::chrono::milliseconds(std::atoi(wait)));
    if (const char *words = std::getenv("ZANDREL_STUB_REGEDIT_FAILS")) {
        std::cerr << words;
        return 1;
    }
    if (std::getenv("ZANDREL_STUB_REGEDIT_IGNORES"))
        return 0;
    const std::optional<std::string> text = readAll(fromWinePath(file));
    if (!text)
        return 2;
    if (target && *target && !writeWhole(std::string(target) + ".reg", *text))
        return 3;
    return writeWhole(ownRegistry, *text) ? 0 : 3;
}

// A string value of an imported Unicode file ("hex(1):" and its UTF-16LE
// bytes) as wine keeps and exports it: a terminator added when it lacks one,
// then quoted, cut at its first NUL, with CR, LF, "\\" and "\"" escaped.
std::u16string exportedString(const std::u16string &hexBytes)
{
    std::string bytes;
    for (size_t at = 0; at + 1 < hexBytes.size(); at += 3)
        bytes += char(std::stoi(std::string(hexBytes.begin() + at, hexBytes.begin() + at + 2), nullptr, 16));
    std::u16string units;
    for (size_t i = 0; i + 1 < bytes.size(); i += 2)
        units += char16_t(uint8_t(bytes[i]) | uint8_t(bytes[i + 1]) << 8);
    std::u16string quoted = u"\"";
    for (const char16_t c : units) {
        if (c == 0)
            break;
        if (c == u'\r' || c == u'\n' || c == u'\\' || c == u'"')
            quoted += u'\\';
        quoted += c == u'\r' ? u'r' : c == u'\n' ? u'n' : c;
    }
    return quoted + u'"';
}

// What wine's "regedit /E" writes of a key imported from `imported`.
std::string asWineExports(const std::string &imported)
{
    if (imported.rfind("\xFF\xFE", 0) != 0)
        return imported;
    std::u16string text;
    for (size_t i = 2; i + 1 < imported.size(); i += 2)
        text += char16_t(uint8_t(imported[i]) | uint8_t(imported[i + 1]) << 8);
    const std::u16string stringMark = u"=hex(1):";
    std::u16string exported;
    for (size_t start = 0; start < text.size();) {
        const size_t end = std::min(text.find(u"\r\n", start), text.size());
        std::u16string line = text.substr(start, end - start);
        if (const size_t mark = line.find(stringMark); mark != std::u16string::npos)
            line = line.substr(0, mark + 1) + exportedString(line.substr(mark + stringMark.size()));
        exported += line + (end < text.size() ? u"\r\n" : u"");
        start = end + 2;
    }
    std::string bytes = "\xFF\xFE";
    for (const char16_t c : exported)
        bytes += {char(c & 0xFF), char(c >> 8)};
    return bytes;
}

int exportRegistry(const std::string &ownRegistry, const std::string &file)
{
    const std::optional<std::string> text = readAll(ownRegistry);
    if (!text)
        return 0; // as wine: a message, no file, and 0
    return writeWhole(fromWinePath(file), asWineExports(*text)) ? 0 : 3;
}

} // namespace

int main(int argc, char **argv)
{
    const std::string name = std::filesystem::path(argv[0]).filename().string();
    const char *target = std::getenv("ZANDREL_STUB_RECORD");
    const std::string ownRegistry = (std::filesystem::path(argv[0]).parent_path() / "wine-registry.reg").string();
    if (name == "wine" && argc == 4 && std::string(argv[1]) == "regedit" && std::string(argv[2]) == "/S")
        return importRegistry(target, ownRegistry, argv[3]);
    if (name == "wine" && argc == 5 && std::string(argv[1]) == "regedit" && std::string(argv[2]) == "/E")
        return exportRegistry(ownRegistry, argv[3]);

    std::string record = "program=" + name + "\n";
    std::error_code error;
    record += "cwd=" + std::filesystem::current_path(error).string() + "\n";
    for (int i = 1; i < argc; ++i)
        record += std::string("arg=") + argv[i] + "\n";

    if (!target || !*target) {
        std::cout << record;
        return 0;
    }
    return writeWhole(target, record) ? 0 : 1;
}
