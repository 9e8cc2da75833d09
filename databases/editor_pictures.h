// The path a database record keeps for a picture the user chose: the path itself, its short
// name, or a copy of the picture in the program folder.
#pragma once

#include <string>

#include "platform/message_boxes.h"

namespace zarvo {

// The folder of the program folder that holds the copies of chosen pictures.
constexpr const char kCopiedPicturesFolder[] = "Base données images";

// The path to store for a picture chosen with the file dialog (a path text, platform/codepage.h),
// with the program folder current. The database files are Windows-1252 and an image path holds
// 259 characters: a path that fits is stored as it is; otherwise the file's short ("8.3") path,
// which names the same file in plain characters, when the volume keeps short names; otherwise a
// copy of the picture in "Base données images/" (the same bytes under one name are copied once).
// Empty, after TXT_PICTURE_NOT_COPIED, when no copy could be made.
std::string PicturePathToStore(const std::string& chosen, MessageBoxes& boxes);

}  // namespace zarvo
