// Image export: a rendered picture saved as a BMP file that the user chooses.
#pragma once

#include <functional>
#include <memory>

class CDIB;

// Renders the picture and saves it through the BMP save dialog (CDIB::Save with no path). The
// file is asked for only once the picture exists: a render that fails (and has told the user
// why) saves nothing and asks nothing. True when a file was written.
bool ExportPicture(const std::function<std::unique_ptr<CDIB>()>& render);
