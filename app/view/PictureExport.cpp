// Image export.
#include "app/view/PictureExport.h"

#include "support/DIB.h"

bool ExportPicture(const std::function<std::unique_ptr<CDIB>()>& render) {
    const std::unique_ptr<CDIB> picture = render();
    return picture != nullptr && !picture->IsEmpty() && picture->Save(std::string());
}
