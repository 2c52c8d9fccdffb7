// A document template of the design program: its texts come from the string table entry with
// the template's resource number (window title, document name, File New name, filter name,
// filter extension, file type id and name, separated by line breaks), and it opens every view
// in a new CChldFrm whose menu has the same number.
#pragma once

#include <cstdint>
#include <string>

#include <wx/docview.h>

class CZarnelDocTemplate : public wxDocTemplate {
public:
    // Templates whose File New name is empty are invisible to File New and File Open.
    CZarnelDocTemplate(wxDocManager* manager, uint32_t resourceId, wxClassInfo* documentClass,
                       wxClassInfo* viewClass);

    uint32_t GetResourceId() const { return m_resourceId; }
    // The filter of the open dialog as the string table gives it: "Zarnel Design Dateien
    // (*.zdf)|*.zdf"; empty for an invisible template.
    std::string GetDialogFilter() const;
    // The extension without its dot ("zdf"); empty when the template has none.
    std::string GetExtension() const { return m_extension; }

    // Makes the child frame first, then the view inside it, as the framework's templates do.
    wxView* CreateView(wxDocument* document, long flags = 0) override;

    // One field of the template's text (0 window title ... 6 file type name).
    static std::string DocString(const std::string& text, int field);

private:
    CZarnelDocTemplate(wxDocManager* manager, uint32_t resourceId, const std::string& text,
                       wxClassInfo* documentClass, wxClassInfo* viewClass);

    uint32_t m_resourceId;
    std::string m_filterName;
    std::string m_extension;
};
