#include "libkorvant/Getopt.h"

#include <cstdio>
#include <cstring>

namespace korvant {

namespace {

void Complain(const GetoptVars& vars, const GetoptErrorSink& sink, const char* argv0,
              const char* format, int letter) {
    if (*vars.opterr == 0 || !sink) {
        return;
    }
    const char* name = argv0 != nullptr ? argv0 : "";
    if (const char* slash = std::strrchr(name, '/')) {
        name = slash + 1;
    }
    char text[512];
    std::snprintf(text, sizeof text, format, name, letter);
    sink(text);
}

}  // namespace

int Getopt(const GetoptVars& vars, int argc, char* const argv[], const char* options,
           const GetoptErrorSink& sink) {
    int& optind = *vars.optind;
    int& pos = *vars.position;
    if (options == nullptr) {
        options = "";
    }
    if (argv == nullptr || optind < 0 || optind >= argc || argv[optind] == nullptr) {
        pos = 1;
        return -1;
    }
    const char* word = argv[optind];
    const bool sameWord = vars.word == nullptr || *vars.word == word;
    if (vars.word != nullptr) {
        *vars.word = word;
    }
    if (pos <= 1 || !sameWord || pos >= static_cast<int>(std::strlen(word))) {
        pos = 1;
        if (word[0] != '-' || word[1] == '\0') {
            return -1;
        }
        if (std::strcmp(word, "--") == 0) {
            ++optind;
            return -1;
        }
    }
    const int letter = static_cast<unsigned char>(word[pos]);
    *vars.optopt = letter;
    const char* spec = letter == ':' ? nullptr : std::strchr(options, letter);
    if (spec == nullptr) {
        Complain(vars, sink, argv[0], "%s: illegal option -- %c\n", letter);
        if (word[++pos] == '\0') {
            ++optind;
            pos = 1;
        }
        return '?';
    }
    if (spec[1] == ':') {
        if (word[pos + 1] != '\0') {
            *vars.optarg = const_cast<char*>(&word[pos + 1]);
            ++optind;
        } else if (++optind >= argc || argv[optind] == nullptr) {
            Complain(vars, sink, argv[0], "%s: option requires an argument -- %c\n", letter);
            pos = 1;
            return '?';
        } else {
            *vars.optarg = argv[optind++];
        }
        pos = 1;
    } else {
        if (word[++pos] == '\0') {
            pos = 1;
            ++optind;
        }
        *vars.optarg = nullptr;
    }
    return letter;
}

}  // namespace korvant
