// Dialog 203 "Oberflächenauswahl": chooses the surface (material) of an element or of a colour
// tool per material category, and edits the document's materials: colour, the light factors
// outside and inside, a texture bitmap, the usability and new materials copied from others. The
// dialog works on a copy of the material table (CMtrlChoice); while "3D-Bild sofort neu zeichnen"
// is ticked each change is shown in the 3D view at once. The caller applies the choice.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "app/dialogs/DialogEx.h"
#include "model/MtrlChoice.h"

class CElmnt;
class CMtrl;
class CZarnelDcmt;
class wxChoice;
class wxComboBox;
class wxSlider;

class CDlgMtrl : public CDialogEx {
public:
    // Control ids of the dialog, the system's own numbers.
    enum : int {
        IdMaterial = 1002,
        IdOutAmbient = 1010,
        IdOutDiffuse = 1011,
        IdOutSpecular = 1012,
        IdInAmbient = 1013,
        IdInDiffuse = 1014,
        IdInSpecular = 1015,
        IdOutShininess = 1016,
        IdRedraw = 1017,
        IdInShininess = 1018,
        IdChooseColor = 1019,
        IdNewMaterial = 1020,
        IdChooseTexture = 1021,
        IdCategory = 1022,
        IdTextureFile = 1023,
        IdDeleteTexture = 1024,
        IdRed = 1026,
        IdGreen = 1027,
        IdBlue = 1028,
        IdMetal = 1059,
        IdPlastic = 1060,
        IdSwatch = 1131,
    };

    // Shows the edited materials in the 3D view while the dialog is open.
    using Preview = std::function<void(const CMtrlChoice& choice)>;

    CDlgMtrl(wxWindow* parent, const CMtrlChoice& choice, Preview preview);

    const CMtrlChoice& GetChoice() const { return m_choice; }
    bool HasPreviewed() const { return m_previewed; }

    // Shows the dialog modally. OK stores the edited choice in choice and answers true; Cancel
    // (Escape or the close box) leaves it as it was, shows it again when a change was
    // previewed, and answers false.
    static bool Edit(wxWindow* parent, CMtrlChoice& choice, Preview preview);

    // The 3D view's entry (surface tool, the colour tool commands, the element dialogs' surface
    // buttons and the double-click on elements without a dialog of their own): the dialog for
    // the element (or nullptr for a tool) and kind, starting from the view's slot per category
    // in categorySlots. Edits are shown in the document while the dialog is open (repaint
    // redraws the view at once) and taken back afterwards. OK applies the edited materials
    // (ApplyMtrlChoice) and answers the chosen slot, which the caller assigns; Cancel answers
    // nothing. Only the tool materials commands pass toolSlots: on OK the view's slots per
    // category become the ones chosen in the dialog. A surface chosen for one element leaves
    // them as they were.
    static std::optional<int32_t> Run(wxWindow* parent, CZarnelDcmt& dcmt, const CElmnt* elmnt,
                                      ElmntKind kind,
                                      const CMtrlChoice::CategorySlots& categorySlots,
                                      bool checkUsability, const std::function<void()>& repaint,
                                      CMtrlChoice::CategorySlots* toolSlots = nullptr);

protected:
    void DoDataExchangeEx(CDataExchange& dx, const void* field) override;

private:
    // The value of the chosen material that a slider shows.
    enum class Value {
        OutAmbient,
        OutDiffuse,
        OutSpecular,
        OutShininess,
        InAmbient,
        InDiffuse,
        InSpecular,
        InShininess,
        Red,
        Green,
        Blue,
    };
    // A slider: positions 0 to range, ticks every tics, the value scale at the end.
    struct SSlider {
        int id;
        Value value;
        int range;
        int tics;
        float scale;
    };

    void CreateControls();
    wxSizer* AddSliders(wxWindow* parent, const std::vector<int>& ids,
                        const std::vector<uint32_t>& labels);
    const SSlider& FindSlider(int id) const;
    void LoadControls();
    void ShowSwatch();
    void Redraw();
    void OnCategory();
    void OnMaterialSelected();
    void OnMaterialText();
    void OnUsability();
    void OnSlider(const SSlider& slider);
    void OnChooseColor();
    void OnChooseTexture();
    void OnDeleteTexture();
    void OnNewMaterial();
    void OnRedraw();
    void OnOk();

    static float GetValue(const CMtrl& mtrl, Value value);
    static void SetValue(CMtrl& mtrl, Value value, float v);

    CMtrlChoice m_choice;
    Preview m_preview;
    bool m_redraw = true;
    bool m_previewed = false;
    bool m_loading = false;
    std::vector<SSlider> m_sliders;
    wxChoice* m_category = nullptr;
    wxComboBox* m_material = nullptr;
    wxWindow* m_swatch = nullptr;
};
