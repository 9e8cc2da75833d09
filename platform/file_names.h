// File names as the Windows file system sees them: which Windows-1252 names are the same file,
// and the extension a save dialog's answer gets. Portable: no system call.
#pragma once

#include <string>
#include <string_view>

namespace zarvo {

// A Windows file system ignores the case of every letter that has two forms, accented ones
// included: "Éric.bdr" and "éric.bdr" are one file. In Windows-1252 these are A-Z with a-z,
// À-Þ with à-þ (× and ÷ are no letters), Š/š, Œ/œ, Ž/ž and Ÿ/ÿ. Gives the lower-case form of
// such a letter and every other byte as it is (ß, µ and ƒ have no second form here).
char FoldFileNameCase(char c);

// Two names that name one file: equal once every letter is folded.
bool SameFileName(std::string_view a, std::string_view b);

// The name with extension (".trng", dot included) appended, unless the name holds it already,
// anywhere and in any case ("CLUB.TRNG", "club.trng.old" are kept as they are).
std::string WithExtension(const std::string& name, const char* extension);

}  // namespace zarvo
