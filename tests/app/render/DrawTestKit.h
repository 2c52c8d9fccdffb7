// What the element drawing emits in a headless context: feedback buffers as tokens, selection
// hits as name lists, in a scene whose window coordinates are model millimetres.
#pragma once

#include <memory>
#include <vector>

#include <GL/gl.h>

#include "app/render/ElmntDraw.h"
#include "app/render/MeshCache.h"
#include "app/render/RndrQult.h"
#include "model/Mtrl.h"

// One token of a GL_3D feedback buffer: a pass-through with its name, or a point, line or
// polygon with its vertices as model points (window x and y are model x and y, the depth is
// turned back into model z).
struct SFeedbackToken {
    GLenum type = 0; // GL_PASS_THROUGH_TOKEN, GL_POINT_TOKEN, GL_LINE_TOKEN, GL_POLYGON_TOKEN
    uint32_t name = 0;
    std::vector<CVector3> vertices;
};

std::vector<uint32_t> PassThroughNames(const std::vector<SFeedbackToken>& tokens);
int CountTokens(const std::vector<SFeedbackToken>& tokens, GLenum type);

// Runs the drawing in feedback mode in the millimetre scene (±2048 mm on every axis).
std::vector<SFeedbackToken> CaptureFeedback(void (*draw)(const void*), const void* data);
template <class Draw> std::vector<SFeedbackToken> CaptureFeedback(const Draw& draw) {
    return CaptureFeedback([](const void* d) { (*static_cast<const Draw*>(d))(); }, &draw);
}

// A view of ±halfSize mm around the origin, from slightly above and aside, in the 256 x 256
// test surface cleared to white.
void SetPictureScene(double halfSize);
// Pixels of exactly the colour in the test surface.
int CountPixels(uint8_t r, uint8_t g, uint8_t b);

// Draws elements through the dispatcher with the default materials of a new document.
class CDrawProbe {
public:
    explicit CDrawProbe(int modell = 3);

    std::vector<SFeedbackToken> Feedback(RndrMode mode, const std::vector<const CElmnt*>& elmnts,
                                         ToolMode tool, DrawFlags flags = DrawFlags::None,
                                         Revision revision = 1);
    // Hit records' names of a pick region of size mm around (x, y); the caller's name pushed
    // first, as the view does.
    std::vector<std::vector<GLuint>> Select(const CElmnt& elmnt, ToolMode tool, double x, double y,
                                            double size, const SDrawView* view = nullptr);
    // Draws into a picture scene in pass 0.
    void Draw(const CElmnt& elmnt, ToolMode tool, DrawFlags flags, double halfSize,
              const CRndrQult* quality = nullptr);

private:
    std::vector<std::unique_ptr<CMtrl>> m_owned;
    std::vector<const CMtrl*> m_materials;
    CRndrQult m_quality;
    CMeshCache m_meshes;
};

// A new element alive from revision 1, in material 4, at the placement or the origin.
std::unique_ptr<CElmnt> MakeElmnt(CElmntIdSource& ids, ElmntKind kind, float length = 0.0f,
                                  CVector3 at = {});
