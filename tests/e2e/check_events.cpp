// check_events SCHEMA: holds every line of standard input against the
// events' JSON Schema; names each line that it does not hold and exits 1.
#include <fstream>
#include <iostream>
#include <sstream>

#include "EventSchema.h"

int main(int argc, char* argv[])
{
    if (argc != 2) return 2;
    std::ifstream file(argv[1]);
    std::stringstream text;
    text << file.rdbuf();
    const auto schema = fw::parseJson(text.str());
    if (!schema) return 2;
    int lineNumber = 0, wrong = 0, read = 0;
    for (std::string line; std::getline(std::cin, line);) {
        ++lineNumber;
        const auto event = fw::parseJson(line);
        const std::string problem = event ? fw::testing::schemaProblem(*schema, *schema, *event) : "not JSON";
        if (!problem.empty()) {
            std::cerr << "line " << lineNumber << ": " << problem << ": " << line << '\n';
            ++wrong;
        }
        ++read;
    }
    return wrong == 0 && read > 0 ? 0 : 1;
}
