// Reading output lines against the whole table of message forms, the
// built-in ones and 20 forms of the user's before them: the time per line
// for lines that match no form and for lines that match one, each kind
// taken as the slowest of its lines.
//   bench_messages [ROUNDS]     (default 200000 readings per line)
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <tuple>
#include <vector>

#include "messageline.h"

namespace {

using Clock = std::chrono::steady_clock;

// Forms a user might add for compilers the table does not know, each with
// fixed text of its own so that it stands for a real one.
std::vector<UserMessageForm> userForms() {
    std::vector<UserMessageForm> forms;
    for (int i = 0; i < 20; ++i) {
        const std::string n = std::to_string(i);
        forms.push_back({"tool " + n, "TOOL" + n + " %f line %l: %t %n: %m"});
    }
    return forms;
}

double nanosecondsPerReading(const MessageReader& reader, const std::string& line, long rounds) {
    volatile bool matched = false;
    const auto start = Clock::now();
    for (long i = 0; i < rounds; ++i) matched = reader.read(line).has_value();
    const auto took = std::chrono::duration<double, std::nano>(Clock::now() - start);
    (void)matched;
    return took.count() / static_cast<double>(rounds);
}

}  // namespace

int main(int argc, char** argv) {
    const long rounds = argc > 1 ? std::atol(argv[1]) : 200000;
    const MessageReader reader(common::CodePage::Utf8, userForms());
    const std::vector<std::string> noMessages = {
        "gcc -c -O2 -Wall -o obj/hello.o src/hello.c",
        "make[1]: Entering directory '/home/user/projects/hello/sub'",
        "    3 |   int x = ;",
        "      |           ^",
        "hello.c: In function 'main':",
        "cl /c /AL /Foobj\\hello.obj hello.c",
        "Microsoft (R) Segmented Executable Linker  Version 5.60.339 Dec  5 1994",
        "2 errors generated.",
    };
    const std::vector<std::string> messages = {
        "hello.c(12) : error C2065: 'x' : undeclared identifier",
        "Error E2451 hello.c 12: Undefined symbol 'x' in function main",
        "**Error** hello.asm(12) Illegal instruction",
        "src/hello.c:12:5: warning: unused variable 'x' [-Wunused-variable]",
        "hello.c:3.11: error: bad expression",
        "In file included from main.c:1:",
        "LINK : fatal error L1104: HELLO.OBJ : not valid object",
        "collect2: error: ld returned 1 exit status",
    };
    for (const auto& [title, lines, expectMatch] :
         {std::tuple{"no form matches", &noMessages, false},
          std::tuple{"a form matches", &messages, true}}) {
        double slowest = 0;
        double sum = 0;
        for (const std::string& line : *lines) {
            if (reader.read(line).has_value() != expectMatch) {
                std::fprintf(stderr, "unexpected reading: %s\n", line.c_str());
                return 1;
            }
            const double ns = nanosecondsPerReading(reader, line, rounds);
            slowest = std::max(slowest, ns);
            sum += ns;
        }
        std::printf("%-16s mean %7.1f ns, slowest %7.1f ns per line (%zu lines, %zu forms)\n",
                    title, sum / static_cast<double>(lines->size()), slowest, lines->size(),
                    BuiltInMessageForms().size() + 20);
    }
    return 0;
}
