// GL's primitive modes broken down into independent points, lines or triangles, as indices, so
// that runs of strips, fans, loops and quads can be joined into one call.
#pragma once

#include <vector>

#include <GL/gl.h>

enum class PrimitiveFamily { Points, Lines, Triangles };

// GL_POINTS; GL_LINES, GL_LINE_STRIP, GL_LINE_LOOP; every mode that fills.
PrimitiveFamily FamilyOf(GLenum mode);

// The mode of a family's independent primitives: GL_POINTS, GL_LINES or GL_TRIANGLES.
GLenum IndependentMode(PrimitiveFamily family);

// Appends the indices of the independent primitives that count vertices from base make in the
// mode. Each triangle is wound as GL winds it and ends on the vertex GL takes its flat colour
// from (the last of each triangle, the fourth of each quad), so flat shading stays the same.
// Quads and quad strips are split along the diagonal that ends on that vertex; polygons are
// taken as convex, as GL takes them. Incomplete primitives at the end are dropped, as by GL.
void AppendIndices(GLenum mode, GLuint base, GLsizei count, std::vector<GLuint>& out);
