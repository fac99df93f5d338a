// vldata: the data tool. Scrambles or descrambles a text file line by line
// with one of the rotation variants the programs read, so that our data can be
// kept as plain readable sources and turned into the files the programs open.

#include <cstdio>
#include <fstream>
#include <iostream>
#include <string>
#include <string_view>

#include "model/DataFile.h"
#include "model/Scramble.h"

namespace {

using Transform = std::string (*)(std::string line);

std::string ScrambleMain(std::string line) { return ScrambleLine(line); }
std::string ScramblePass(std::string line) { return ScramblePassword(line); }
std::string ScrambleX(std::string line) { return ScrambleLineX(line); }
std::string ScrambleY(std::string line) { return ScrambleLineY(line); }
std::string DescrambleMain(std::string line) { DescrambleLine(line); return line; }
std::string DescramblePass(std::string line) { DescramblePassword(line); return line; }
std::string DescrambleX(std::string line) { DescrambleLineX(line); return line; }
std::string DescrambleY(std::string line) { DescrambleLineY(line); return line; }

struct Variant {
    std::string_view name;
    Transform scramble;
    Transform descramble;
};

constexpr Variant kVariants[] = {
    {"line", ScrambleMain, DescrambleMain},
    {"password", ScramblePass, DescramblePass},
    {"x", ScrambleX, DescrambleX},
    {"y", ScrambleY, DescrambleY},
};

int Usage()
{
    std::cerr << "usage: vldata scramble|descramble line|password|x|y INPUT OUTPUT\n"
                 "  Rotates every line of INPUT with the chosen variant and writes OUTPUT.\n";
    return 2;
}

int Convert(Transform transform, const char* inputName, const char* outputName)
{
    std::ifstream in(inputName, std::ios::binary);
    if (!in) {
        std::cerr << "vldata: cannot open " << inputName << "\n";
        return 1;
    }
    // Write to a temporary name first: a failed conversion leaves no
    // half-written output behind.
    const std::string temporary = std::string(outputName) + ".part";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (!out) {
            std::cerr << "vldata: cannot write " << outputName << "\n";
            return 1;
        }
        std::string line;
        int number = 0;
        while (ReadDataLine(in, line)) {
            ++number;
            out << transform(line) << '\n';
        }
        if (!in.eof()) {
            std::cerr << "vldata: " << inputName << ": line " << number + 1 << " is too long\n";
            out.close();
            std::remove(temporary.c_str());
            return 1;
        }
        out.flush();
        if (!out) {
            std::cerr << "vldata: cannot write " << outputName << "\n";
            std::remove(temporary.c_str());
            return 1;
        }
    }
    if (std::rename(temporary.c_str(), outputName) != 0) {
        std::cerr << "vldata: cannot write " << outputName << "\n";
        std::remove(temporary.c_str());
        return 1;
    }
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 5)
        return Usage();
    const std::string_view command = argv[1];
    const std::string_view variantName = argv[2];
    for (const Variant& variant : kVariants) {
        if (variant.name != variantName)
            continue;
        if (command == "scramble")
            return Convert(variant.scramble, argv[3], argv[4]);
        if (command == "descramble")
            return Convert(variant.descramble, argv[3], argv[4]);
        return Usage();
    }
    return Usage();
}
