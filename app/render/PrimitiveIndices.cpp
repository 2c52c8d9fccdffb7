// Primitive modes as independent primitives.
#include "app/render/PrimitiveIndices.h"

PrimitiveFamily FamilyOf(GLenum mode) {
    switch (mode) {
    case GL_POINTS:
        return PrimitiveFamily::Points;
    case GL_LINES:
    case GL_LINE_STRIP:
    case GL_LINE_LOOP:
        return PrimitiveFamily::Lines;
    default:
        return PrimitiveFamily::Triangles;
    }
}

GLenum IndependentMode(PrimitiveFamily family) {
    switch (family) {
    case PrimitiveFamily::Points:
        return GL_POINTS;
    case PrimitiveFamily::Lines:
        return GL_LINES;
    default:
        return GL_TRIANGLES;
    }
}

void AppendIndices(GLenum mode, GLuint base, GLsizei count, std::vector<GLuint>& out) {
    const auto n = static_cast<GLuint>(count > 0 ? count : 0);
    auto add = [&](std::initializer_list<GLuint> local) {
        for (GLuint i : local) {
            out.push_back(base + i);
        }
    };
    switch (mode) {
    case GL_POINTS:
        for (GLuint i = 0; i < n; ++i) {
            add({i});
        }
        break;
    case GL_LINES:
        for (GLuint i = 0; i + 1 < n; i += 2) {
            add({i, i + 1});
        }
        break;
    case GL_LINE_STRIP:
    case GL_LINE_LOOP:
        for (GLuint i = 0; i + 1 < n; ++i) {
            add({i, i + 1});
        }
        if (mode == GL_LINE_LOOP && n > 2) {
            add({n - 1, 0});
        }
        break;
    case GL_TRIANGLES:
        for (GLuint i = 0; i + 2 < n; i += 3) {
            add({i, i + 1, i + 2});
        }
        break;
    case GL_TRIANGLE_STRIP:
        for (GLuint i = 0; i + 2 < n; ++i) {
            if (i % 2 == 0) {
                add({i, i + 1, i + 2});
            } else {
                add({i + 1, i, i + 2});
            }
        }
        break;
    case GL_QUADS:
        for (GLuint i = 0; i + 3 < n; i += 4) {
            add({i, i + 1, i + 3, i + 1, i + 2, i + 3});
        }
        break;
    case GL_QUAD_STRIP:
        // Quad k runs 2k, 2k+1, 2k+3, 2k+2 and takes its flat colour from 2k+3.
        for (GLuint i = 0; i + 3 < n; i += 2) {
            add({i, i + 1, i + 3, i + 2, i, i + 3});
        }
        break;
    default: // GL_TRIANGLE_FAN, GL_POLYGON
        // A polygon takes its flat colour from its first vertex, a fan triangle from its last.
        for (GLuint i = 1; i + 1 < n; ++i) {
            if (mode == GL_POLYGON) {
                add({i, i + 1, 0});
            } else {
                add({0, i, i + 1});
            }
        }
        break;
    }
}
