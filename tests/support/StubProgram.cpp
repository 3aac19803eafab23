// A stand-in for an outside program (an emulator, a tool, wine): it records
// the name it was started under, its working folder and its arguments, one
// to a line, into the file that ZANDREL_STUB_RECORD names, and ends. The
// record appears whole (written beside it, then renamed), so a test that
// waits for it never reads half of it. Started by hand without that
// variable, it prints the same lines.

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>

int main(int argc, char **argv)
{
    std::string record = "program=" + std::filesystem::path(argv[0]).filename().string() + "\n";
    std::error_code error;
    record += "cwd=" + std::filesystem::current_path(error).string() + "\n";
    for (int i = 1; i < argc; ++i)
        record += std::string("arg=") + argv[i] + "\n";

    const char *target = std::getenv("ZANDREL_STUB_RECORD");
    if (!target || !*target) {
        std::cout << record;
        return 0;
    }
    const std::string part = std::string(target) + ".part";
    {
        std::ofstream out(part, std::ios::binary | std::ios::trunc);
        out << record;
        if (!out)
            return 1;
    }
    return std::rename(part.c_str(), target) == 0 ? 0 : 1;
}
