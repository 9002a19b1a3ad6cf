#pragma once
// Our own skin: every bitmap the description names, drawn in code, and the
// description text itself.

#include "skin/data/SkinBitmap.h"

#include <string>
#include <vector>

namespace orbelin::skingen {

struct TSkinFile {
    std::string Name;   // file name in the archive
    TSkinBitmap Bitmap; // empty for the description
    std::string Text;   // the description
};

// The entries in archive order; the description comes last.
std::vector<TSkinFile> BuildSkin();

} // namespace orbelin::skingen
