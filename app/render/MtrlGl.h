// Materials applied to OpenGL state before an element is drawn. Only the draw pass changes
// anything; selection and feedback passes leave the state alone.
#pragma once

class CMtrl;
class CRndrPass;

namespace MtrlGl {

// Sets texture, lighting and GL material, or the plain colour of unlit drawing, by the pass's
// quality profile. selected draws the selection highlight (also for textured materials);
// textured is true only for drawing routines that give texture coordinates, and then a texture
// that loads replaces the surface colour.
void Apply(const CMtrl& material, const CRndrPass& pass, bool selected, bool textured);

// Unlit drawing in the material's front diffuse colour, or in the highlight when selected.
void SetPlainColor(const CMtrl& material, const CRndrPass& pass, bool selected);

} // namespace MtrlGl
