// Stands in for the crash message program: appends its caption and text, one line each, to
// messages.txt beside itself, and returns as if the user had pressed OK.

#include <cstdio>
#include <string>

int main(int argc, char** argv)
{
    const std::string self = argv[0];
    const std::string folder = self.substr(0, self.rfind('/') + 1);
    std::FILE* log = std::fopen((folder + "messages.txt").c_str(), "a");
    if (log == nullptr)
        return 1;
    std::fprintf(log, "%s\n%s\n", argc > 1 ? argv[1] : "", argc > 2 ? argv[2] : "");
    std::fclose(log);
    return 0;
}
