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
// ("regedit /E Z:\...\out.reg KEY"), it writes its registry there, or
// nothing when it has none. ZANDREL_STUB_REGEDIT_FAILS fails the import;
// ZANDREL_STUB_REGEDIT_IGNORES ends it with 0 having imported nothing, as
// wine does with a file it can't read; ZANDREL_STUB_REGEDIT_WAIT_MS makes it
// take that long first.

#include <algorithm>
#include <chrono>
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
    if (std::getenv("ZANDREL_STUB_REGEDIT_FAILS"))
        return 1;
    if (std::getenv("ZANDREL_STUB_REGEDIT_IGNORES"))
        return 0;
    const std::optional<std::string> text = readAll(fromWinePath(file));
    if (!text)
        return 2;
    if (target && *target && !writeWhole(std::string(target) + ".reg", *text))
        return 3;
    return writeWhole(ownRegistry, *text) ? 0 : 3;
}

int exportRegistry(const std::string &ownRegistry, const std::string &file)
{
    const std::optional<std::string> text = readAll(ownRegistry);
    if (!text)
        return 0; // as wine: a message, no file, and 0
    return writeWhole(fromWinePath(file), *text) ? 0 : 3;
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
