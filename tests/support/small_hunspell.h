#pragma once
// A tiny Hunspell dictionary written into a test's folder as NAME.aff and NAME.dic: "run"
// with "running" and "runs", "study" with "studies", "house" with "houses", and "better"
// whose stem is "good".

#include <string>

#include "tests/support/scratch_dir.h"

namespace lexora::test {

inline void writeSmallHunspell(const ScratchDir& dir, const std::string& name = "en_US") {
  dir.write(name + ".aff",
            "SET UTF-8\n"
            "TRY esianrtolcdugmphbyfvkwz\n"
            "\n"
            "SFX S Y 3\n"
            "SFX S   y     ies        [^aeiou]y\n"
            "SFX S   0     s          [aeiou]y\n"
            "SFX S   0     s          [^y]\n"
            "\n"
            "SFX G Y 1\n"
            "SFX G   0     ning       n\n");
  dir.write(name + ".dic",
            "6\n"
            "run/GS\n"
            "study/S\n"
            "house/S\n"
            "good\n"
            "better\tst:good\n"
            "walk/S\n");
}

}  // namespace lexora::test
