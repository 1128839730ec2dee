// write-man-pages DIR VERSION: the manual pages of the three programs, from
// the tables their --help texts come from.

#include <cstdio>
#include <string>

#include "common/replace_file.h"
#include "manual/manual_page.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: write-man-pages DIR VERSION\n");
        return 2;
    }
    using namespace kalvera::manual;
    for (const Page* page : {&ViewerPage(), &CliPage(), &DemoPage()}) {
        std::string error;
        const std::string path = std::string(argv[1]) + "/" + page->program + ".1";
        if (!kalvera::ReplaceFileContents(path, ManPage(*page, argv[2]), error)) {
            std::fprintf(stderr, "write-man-pages: %s\n", error.c_str());
            return 1;
        }
    }
    return 0;
}
