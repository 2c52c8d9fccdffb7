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

void CGlMesh::EndRecording() {
    assert(SGlBatchAccess::Recording() == this);
    SGlBatchAccess::Recording() = nullptr;
    m_recorded = true;
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
