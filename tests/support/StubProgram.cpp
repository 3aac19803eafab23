// A stand-in for an outside program (an emulator, a tool, wine): it records
// the name it was started under, its working folder and its arguments, one
// to a line, into the file that ZANDREL_STUB_RECORD names, and ends. The
// record appears whole (written beside it, then renamed), so a test that
// waits for it never reads half of it. Started by hand without that
// variable, it prints the same lines.
//
// Asked as wine to import a registry file ("regedit /S Z:\...\file.reg"),
// it keeps a copy of that file as the record's name with ".reg" added and
// writes no record (the program started next writes that); it fails the
// import when ZANDREL_STUB_REGEDIT_FAILS is set.

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>

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

int importRegistry(const char *target, const std::string &file)
{
    if (std::getenv("ZANDREL_STUB_REGEDIT_FAILS"))
        return 1;
    std::ifstream in(fromWinePath(file), std::ios::binary);
    if (!in)
        return 2;
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (target && *target && !writeWhole(std::string(target) + ".reg", text))
        return 3;
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    const std::string name = std::filesystem::path(argv[0]).filename().string();
    const char *target = std::getenv("ZANDREL_STUB_RECORD");
    if (name == "wine" && argc == 4 && std::string(argv[1]) == "regedit" && std::string(argv[2]) == "/S")
        return importRegistry(target, argv[3]);

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
