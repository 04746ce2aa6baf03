// Serves the loopback imitation of the web for a whole-process timing of brimtor-check:
//
//   web_imitation LINKS_FILE [CUT_OFF_SECONDS] [SERVE_SECONDS]
//
// Writes the links to LINKS_FILE, one a line, prints the mix and the lower bound for the cut-off
// (default 10 s), then serves until killed or SERVE_SECONDS (default 900) have passed.
#include <cstdio>
#include <fstream>
#include <string>

#include "bench/WebImitation.hpp"

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: web_imitation LINKS_FILE [CUT_OFF_SECONDS] [SERVE_SECONDS]\n");
        return 2;
    }
    const double cutOff = argc > 2 ? std::stod(argv[2]) : 10.0;
    const int serveSeconds = argc > 3 ? std::stoi(argv[3]) : 900;
    brimtor::bench::WebImitation web;
    std::ofstream file(argv[1]);
    for (const std::string& link : web.Links())
        file << link << "\n";
    file.close();
    std::printf("%s\nlower bound at a %.0f s cut-off: %.2f s\n", web.Summary().c_str(), cutOff,
                web.LowerBoundSeconds(cutOff));
    std::fflush(stdout);
    web.Serve(std::chrono::seconds(serveSeconds));
}
