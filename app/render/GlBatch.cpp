// Immediate-mode shaped geometry through vertex arrays, drawn at once or kept in a mesh.
#include "app/render/GlBatch.h"

#include <array>
#include <cassert>

struct SGlBatchAccess {
    static CGlMesh*& Recording() {
        static CGlMesh* recording = nullptr;
        return recording;
    }
    static void Append(CGlMesh& mesh, GLenum mode, const std::vector<float>& vertices,
                       const std::vector<float>& normals, const std::vector<float>& texCoords,
                       const std::vector<float>& colors, bool hasNormals, bool hasTexCoords,
                       bool hasColors) {
        const auto first = static_cast<GLint>(mesh.m_vertices.size() / 4);
        const auto count = static_cast<GLsizei>(vertices.size() / 4);
        mesh.m_vertices.insert(mesh.m_vertices.end(), vertices.begin(), vertices.end());
        auto appendOrPad = [count](std::vector<float>& to, const std::vector<float>& from, bool has,
                                   std::size_t width) {
            if (has) {
                to.insert(to.end(), from.begin(), from.end());
            } else {
                to.resize(to.size() + static_cast<std::size_t>(count) * width, 0.0f);
            }
        };
        appendOrPad(mesh.m_normals, normals, hasNormals, 3);
        appendOrPad(mesh.m_texCoords, texCoords, hasTexCoords, 2);
        appendOrPad(mesh.m_colors, colors, hasColors, 4);
        mesh.m_ranges.push_back({mode, first, count, hasNormals, hasTexCoords, hasColors});
    }
};

namespace {

// The batch being collected, with the attributes given last. The vectors keep their capacity
// from batch to batch.
struct SBatch {
    GLenum mode = GL_POINTS;
    bool open = false;
    std::vector<float> vertices;
    std::vector<float> normals;
    std::vector<float> texCoords;
    std::vector<float> colors;
    bool hasNormals = false;
    bool hasTexCoords = false;
    bool hasColors = false;
    std::array<float, 3> normal{0.0f, 0.0f, 1.0f};
    std::array<float, 2> texCoord{0.0f, 0.0f};
    std::array<float, 4> color{1.0f, 1.0f, 1.0f, 1.0f};
};

SBatch& Batch() {
    static SBatch batch;
    return batch;
}

std::size_t VertexCount(const SBatch& batch) {
    return batch.vertices.size() / 4;
}

// The first attribute of its kind in a batch: the vertices before it had GL's current value,
// which is what they take in immediate mode.
void BackFill(std::vector<float>& values, std::size_t vertexCount, GLenum currentQuery,
              std::size_t width) {
    std::array<float, 4> current{0.0f, 0.0f, 0.0f, 1.0f};
    if (vertexCount > 0) {
        glGetFloatv(currentQuery, current.data());
    }
    values.clear();
    for (std::size_t i = 0; i < vertexCount; ++i) {
        values.insert(values.end(), current.begin(), current.begin() + static_cast<long>(width));
    }
}

void EnableArray(GLenum array, bool on) {
    if (on) {
        glEnableClientState(array);
    } else {
        glDisableClientState(array);
    }
}

void DrawArrays(GLenum mode, const float* vertices, const float* normals, const float* texCoords,
                const float* colors, GLint first, GLsizei count) {
    glEnableClientState(GL_VERTEX_ARRAY);
    glVertexPointer(4, GL_FLOAT, 0, vertices);
    EnableArray(GL_NORMAL_ARRAY, normals != nullptr);
    if (normals != nullptr) {
        glNormalPointer(GL_FLOAT, 0, normals);
    }
    EnableArray(GL_TEXTURE_COORD_ARRAY, texCoords != nullptr);
    if (texCoords != nullptr) {
        glTexCoordPointer(2, GL_FLOAT, 0, texCoords);
    }
    EnableArray(GL_COLOR_ARRAY, colors != nullptr);
    if (colors != nullptr) {
        glColorPointer(4, GL_FLOAT, 0, colors);
    }
    glDrawArrays(mode, first, count);
    glDisableClientState(GL_VERTEX_ARRAY);
    glDisableClientState(GL_NORMAL_ARRAY);
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    glDisableClientState(GL_COLOR_ARRAY);
}

} // namespace

namespace GlBatch {

void Begin(GLenum mode) {
    SBatch& batch = Batch();
    assert(!batch.open);
    batch.mode = mode;
    batch.open = true;
    batch.vertices.clear();
    batch.normals.clear();
    batch.texCoords.clear();
    batch.colors.clear();
    batch.hasNormals = false;
    batch.hasTexCoords = false;
    batch.hasColors = false;
}

void End() {
    SBatch& batch = Batch();
    assert(batch.open);
    batch.open = false;
    if (batch.vertices.empty()) {
        return;
    }
    if (CGlMesh* mesh = SGlBatchAccess::Recording()) {
        // A kept mesh is drawn later, when GL's current normal and texture coordinate may be
        // others: it takes the ones in force now. Its colour stays the caller's (materials and
        // highlights colour one mesh in many ways).
        if (!batch.hasNormals) {
            BackFill(batch.normals, VertexCount(batch), GL_CURRENT_NORMAL, 3);
        }
        if (!batch.hasTexCoords) {
            BackFill(batch.texCoords, VertexCount(batch), GL_CURRENT_TEXTURE_COORDS, 2);
        }
        SGlBatchAccess::Append(*mesh, batch.mode, batch.vertices, batch.normals, batch.texCoords,
                               batch.colors, true, true, batch.hasColors);
    } else {
        DrawArrays(batch.mode, batch.vertices.data(),
                   batch.hasNormals ? batch.normals.data() : nullptr,
                   batch.hasTexCoords ? batch.texCoords.data() : nullptr,
                   batch.hasColors ? batch.colors.data() : nullptr, 0,
                   static_cast<GLsizei>(VertexCount(batch)));
    }
    // As after glEnd, the values given last stay current.
    if (batch.hasNormals) {
        glNormal3fv(batch.normal.data());
    }
    if (batch.hasTexCoords) {
        glTexCoord2fv(batch.texCoord.data());
    }
    if (batch.hasColors) {
        glColor4fv(batch.color.data());
    }
}

void Normal(float x, float y, float z) {
    SBatch& batch = Batch();
    if (!batch.open) {
        glNormal3f(x, y, z);
        return;
    }
    if (!batch.hasNormals) {
        BackFill(batch.normals, VertexCount(batch), GL_CURRENT_NORMAL, 3);
        batch.hasNormals = true;
    }
    batch.normal = {x, y, z};
}

void TexCoord(float s, float t) {
    SBatch& batch = Batch();
    if (!batch.open) {
        glTexCoord2f(s, t);
        return;
    }
    if (!batch.hasTexCoords) {
        BackFill(batch.texCoords, VertexCount(batch), GL_CURRENT_TEXTURE_COORDS, 2);
        batch.hasTexCoords = true;
    }
    batch.texCoord = {s, t};
}

void Color(float r, float g, float b, float a) {
    SBatch& batch = Batch();
    if (!batch.open) {
        glColor4f(r, g, b, a);
        return;
    }
    if (!batch.hasColors) {
        BackFill(batch.colors, VertexCount(batch), GL_CURRENT_COLOR, 4);
        batch.hasColors = true;
    }
    batch.color = {r, g, b, a};
}

void Vertex(float x, float y, float z, float w) {
    SBatch& batch = Batch();
    assert(batch.open);
    batch.vertices.insert(batch.vertices.end(), {x, y, z, w});
    if (batch.hasNormals) {
        batch.normals.insert(batch.normals.end(), batch.normal.begin(), batch.normal.end());
    }
    if (batch.hasTexCoords) {
        batch.texCoords.insert(batch.texCoords.end(), batch.texCoord.begin(), batch.texCoord.end());
    }
    if (batch.hasColors) {
        batch.colors.insert(batch.colors.end(), batch.color.begin(), batch.color.end());
    }
}

} // namespace GlBatch

void CGlMesh::BeginRecording() {
    assert(SGlBatchAccess::Recording() == nullptr);
    Clear();
    SGlBatchAccess::Recording() = this;
}

namespace {

bool IsTriangleMode(GLenum mode) {
    return mode == GL_TRIANGLES || mode == GL_TRIANGLE_STRIP || mode == GL_TRIANGLE_FAN;
}

// The vertex indices of a range's triangles as GL_TRIANGLES, each wound as GL winds it.
void AppendTriangles(const CGlMesh::SRange& range, std::vector<GLint>& indices) {
    const GLint first = range.first;
    for (GLint i = 0; i + 2 < range.count; ++i) {
        if (range.mode == GL_TRIANGLES) {
            if (i % 3 == 0) {
                indices.insert(indices.end(), {first + i, first + i + 1, first + i + 2});
            }
        } else if (range.mode == GL_TRIANGLE_FAN) {
            indices.insert(indices.end(), {first, first + i + 1, first + i + 2});
        } else if (i % 2 == 0) {
            indices.insert(indices.end(), {first + i, first + i + 1, first + i + 2});
        } else {
            indices.insert(indices.end(), {first + i + 1, first + i, first + i + 2});
        }
    }
}

} // namespace

void CGlMesh::EndRecording() {
    assert(SGlBatchAccess::Recording() == this);
    SGlBatchAccess::Recording() = nullptr;
    m_recorded = true;
    MergeTriangles();
}

void CGlMesh::MergeTriangles() {
    // Tessellators hand over many short strips and fans: drawn one call each they cost more
    // than the vertices themselves. Runs of them with the same attributes become one list.
    CGlMesh merged;
    auto copyVertex = [&](GLint index) {
        const auto i = static_cast<std::size_t>(index);
        merged.m_vertices.insert(merged.m_vertices.end(), m_vertices.begin() + i * 4,
                                 m_vertices.begin() + i * 4 + 4);
        merged.m_normals.insert(merged.m_normals.end(), m_normals.begin() + i * 3,
                                m_normals.begin() + i * 3 + 3);
        merged.m_texCoords.insert(merged.m_texCoords.end(), m_texCoords.begin() + i * 2,
                                  m_texCoords.begin() + i * 2 + 2);
        merged.m_colors.insert(merged.m_colors.end(), m_colors.begin() + i * 4,
                               m_colors.begin() + i * 4 + 4);
    };
    std::vector<GLint> indices;
    for (const SRange& range : m_ranges) {
        const auto first = static_cast<GLint>(merged.m_vertices.size() / 4);
        SRange out = range;
        out.first = first;
        if (IsTriangleMode(range.mode)) {
            indices.clear();
            AppendTriangles(range, indices);
            out.mode = GL_TRIANGLES;
            out.count = static_cast<GLsizei>(indices.size());
            for (GLint index : indices) {
                copyVertex(index);
            }
        } else {
            for (GLint i = 0; i < range.count; ++i) {
                copyVertex(range.first + i);
            }
        }
        SRange* last = merged.m_ranges.empty() ? nullptr : &merged.m_ranges.back();
        if (last != nullptr && last->mode == GL_TRIANGLES && out.mode == GL_TRIANGLES &&
            last->normals == out.normals && last->texCoords == out.texCoords &&
            last->colors == out.colors) {
            last->count += out.count;
        } else if (out.count > 0) {
            merged.m_ranges.push_back(out);
        }
    }
    m_vertices = std::move(merged.m_vertices);
    m_normals = std::move(merged.m_normals);
    m_texCoords = std::move(merged.m_texCoords);
    m_colors = std::move(merged.m_colors);
    m_ranges = std::move(merged.m_ranges);
}

void CGlMesh::Clear() {
    m_vertices.clear();
    m_normals.clear();
    m_texCoords.clear();
    m_colors.clear();
    m_ranges.clear();
    m_recorded = false;
}

void CGlMesh::Draw() const {
    for (const SRange& range : m_ranges) {
        DrawArrays(range.mode, m_vertices.data(), range.normals ? m_normals.data() : nullptr,
                   range.texCoords ? m_texCoords.data() : nullptr,
                   range.colors ? m_colors.data() : nullptr, range.first, range.count);
        // GL leaves the current values undefined after drawing from an enabled array; as after
        // glEnd, the last vertex's stay current.
        const auto last = static_cast<std::size_t>(range.first + range.count - 1);
        if (range.normals) {
            glNormal3fv(&m_normals[last * 3]);
        }
        if (range.texCoords) {
            glTexCoord2fv(&m_texCoords[last * 2]);
        }
        if (range.colors) {
            glColor4fv(&m_colors[last * 4]);
        }
    }
}
