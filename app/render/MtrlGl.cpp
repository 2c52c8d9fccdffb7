// Applying a material: texture through the quality profile, else GL material or plain colour.
#include "app/render/MtrlGl.h"

#include <algorithm>

#include <GL/gl.h>

#include "app/render/RndrPass.h"
#include "app/render/RndrQult.h"
#include "model/Mtrl.h"
#include "support/DIB.h"

namespace {

// The profile of a pass that has none: the coarsest, unlit and untextured.
const CRndrQult& QualityOf(const CRndrPass& pass) {
    static const CRndrQult coarsest;
    return pass.GetQuality() != nullptr ? *pass.GetQuality() : coarsest;
}

// GL refuses a shininess outside 0 to 128 and keeps the one set before; a design file may hold
// any number.
constexpr GLfloat kMaxShininess = 128.0f;

void SetFace(GLenum face, const SGlMaterial& material) {
    glMaterialfv(face, GL_AMBIENT, material.ambient.data());
    glMaterialfv(face, GL_DIFFUSE, material.diffuse.data());
    glMaterialfv(face, GL_SPECULAR, material.specular.data());
    const GLfloat shininess =
        material.shininess > 0.0f ? std::min(material.shininess, kMaxShininess) : 0.0f;
    glMaterialf(face, GL_SHININESS, shininess);
}

} // namespace

namespace MtrlGl {

void Apply(const CMtrl& material, const CRndrPass& pass, bool selected, bool textured) {
    if (!pass.IsDraw()) {
        return;
    }
    const CRndrQult& quality = QualityOf(pass);
    // A selected element shows its highlight, so its texture is not applied; with texture
    // mapping off the file is not even loaded.
    if (textured && !selected && quality.GetValues().texture != 0) {
        const CDIB* texture = material.GetTexture();
        if (texture != nullptr && quality.ApplyTexture(*texture)) {
            glTexEnvf(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_DECAL);
            return;
        }
    }
    if (quality.ApplyGl()) {
        SetFace(GL_FRONT, selected ? material.GetHighlight() : material.GetFront());
        SetFace(GL_BACK, selected ? material.GetHighlight() : material.GetBack());
    } else {
        glColor4fv(selected ? material.GetHighlight().ambient.data()
                            : material.GetFront().diffuse.data());
    }
}

void SetPlainColor(const CMtrl& material, const CRndrPass& pass, bool selected) {
    if (!pass.IsDraw()) {
        return;
    }
    glDisable(GL_LIGHTING);
    glColor4fv(selected ? material.GetHighlight().ambient.data()
                        : material.GetFront().diffuse.data());
}

} // namespace MtrlGl
