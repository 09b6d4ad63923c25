// Entry point: a verb as the first argument runs headless; otherwise the window opens.
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

#include "app/eval_command.h"

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + (argc > 1 ? 2 : 1), argv + argc);
    if (argc > 1 && std::strcmp(argv[1], "eval") == 0) return kq::RunEvalCommand(args, std::cin, std::cout, std::cerr);
    std::cerr << "использование: quantorium eval ...\n";
    return 2;
}
