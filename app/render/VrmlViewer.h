// The slide of kind 41, drawn from the VRML97 model "rutsche10.wrl" in the folder that the
// setting "VRML" names. A 3D view owns one CVrmlViewer and hands it to the element drawing in
// SDrawView; the viewer finds the file, reads it once and draws its triangles into the current
// GL context at the element's placement and in the element's material. The world's
// background, lights, viewpoint and materials never take effect, and nothing is cleared,
// projected or swapped.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "app/render/ElmntDraw.h"
#include "app/render/VrmlScene.h"

// Key and value of the setting that names the model's folder (current user, then machine).
inline constexpr const char* VrmlSettingsKey = "Software\\Zarnel\\Zarnel\\Files";
inline constexpr const char* VrmlSettingsValue = "VRML";
// The model's file name in that folder.
inline constexpr const char* VrmlModelFile = "rutsche10.wrl";

// The folder from the setting "VRML", the current user's value first; nothing when neither has
// one.
std::optional<std::string> ReadVrmlFolder();
// The model's path in the folder: every "\" becomes "/", then "/rutsche10.wrl" follows.
std::string VrmlModelPath(const std::string& folder);

class CVrmlViewer {
public:
    // Tells the user once that the model at the path cannot be read, and why.
    using Report = std::function<void(const std::string& path, const std::string& reason)>;

    // Without a report of its own the viewer shows the message box at once (ShowReport). A
    // window that draws from its paint handler should give one that shows it after painting.
    explicit CVrmlViewer(Report report = {});
    ~CVrmlViewer();
    CVrmlViewer(const CVrmlViewer&) = delete;
    CVrmlViewer& operator=(const CVrmlViewer&) = delete;

    // The model, read on the first call that finds a folder in the settings. Nothing while the
    // setting is missing (looked up again at the next call, without a message) or while the
    // file at the path cannot be read: that is reported once, and the setting is looked up
    // again at each call so that another folder is tried as soon as the setting names one.
    const CVrmlScene* GetScene();
    // Whether the model has been read (without looking for it).
    bool HasScene() const { return m_scene != nullptr; }
    // The message box 4290 with the path and the reason.
    static void ShowReport(const std::string& path, const std::string& reason);

    // The path last looked up; empty before.
    const std::string& GetModelPath() const { return m_path; }

    // Draws the model's triangles with their normals (and texture coordinates when the file
    // has them) under the current model view, in the current GL material or colour. Changes
    // no other GL state: lights, matrices, buffers and the viewport stay as they are.
    void Redraw();

private:
    Report m_report;
    std::string m_path;
    std::unique_ptr<CVrmlScene> m_scene;
    bool m_failed = false; // m_path could not be read and was reported
};

// Kind 41: the model at the element's placement (in explosion drawing shrunk to 60 % and
// shifted by (0, 160, -240) mm), in the element's material without texture, in the drawing,
// selection and surface passes. Draws nothing without a viewer in the view. The feedback pass
// of connection axes outputs nothing beyond the element's name, but still reads the model.
void DrawVrmlModel(const SElmntDraw& call);
