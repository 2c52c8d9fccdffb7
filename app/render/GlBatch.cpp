// Immediate-mode shaped geometry through vertex arrays, drawn at once or kept in a mesh.
#include "app/render/GlBatch.h"

#include <array>
#include <cassert>
#include <cstring>
#include <unordered_map>

#include "app/render/PrimitiveIndices.h"
#include "support/KeyHash.h"

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

IGlGeometrySink*& Sink() {
    static IGlGeometrySink* sink = nullptr;
    return sink;
}

void DrawGeometry(const SGlGeometry& geometry) {
    glEnableClientState(GL_VERTEX_ARRAY);
    glVertexPointer(4, GL_FLOAT, 0, geometry.vertices);
    EnableArray(GL_NORMAL_ARRAY, geometry.normals != nullptr);
    if (geometry.normals != nullptr) {
        glNormalPointer(GL_FLOAT, 0, geometry.normals);
    }
    EnableArray(GL_TEXTURE_COORD_ARRAY, geometry.texCoords != nullptr);
    if (geometry.texCoords != nullptr) {
        glTexCoordPointer(2, GL_FLOAT, 0, geometry.texCoords);
    }
    EnableArray(GL_COLOR_ARRAY, geometry.colors != nullptr);
    if (geometry.colors != nullptr) {
        glColorPointer(4, GL_FLOAT, 0, geometry.colors);
    }
    if (geometry.indices != nullptr) {
        glDrawElements(geometry.mode, geometry.indexCount, GL_UNSIGNED_INT, geometry.indices);
    } else {
        glDrawArrays(geometry.mode, 0, geometry.vertexCount);
    }
    glDisableClientState(GL_VERTEX_ARRAY);
    glDisableClientState(GL_NORMAL_ARRAY);
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    glDisableClientState(GL_COLOR_ARRAY);
}

} // namespace

namespace GlBatch {

IGlGeometrySink* GetSink() {
    return Sink();
}

CSinkScope::CSinkScope(IGlGeometrySink& sink) : m_previous(Sink()) {
    Sink() = &sink;
}

CSinkScope::~CSinkScope() {
    Sink() = m_previous;
}

void Send(const SGlGeometry& geometry) {
    const GLsizei drawn = geometry.indices != nullptr ? geometry.indexCount : geometry.vertexCount;
    if (drawn <= 0) {
        return;
    }
    if (IGlGeometrySink* sink = Sink()) {
        sink->Take(geometry);
    } else {
        DrawGeometry(geometry);
    }
    // GL leaves the current values undefined after drawing from an enabled array; as after
    // glEnd, the last vertex's stay current (also for a sink, which may read them).
    const auto last = static_cast<std::size_t>(
        geometry.indices != nullptr ? geometry.indices[geometry.indexCount - 1] : drawn - 1);
    if (geometry.normals != nullptr) {
        glNormal3fv(&geometry.normals[last * 3]);
    }
    if (geometry.texCoords != nullptr) {
        glTexCoord2fv(&geometry.texCoords[last * 2]);
    }
    if (geometry.colors != nullptr) {
        glColor4fv(&geometry.colors[last * 4]);
    }
}

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
        SGlGeometry geometry;
        geometry.mode = batch.mode;
        geometry.vertices = batch.vertices.data();
        geometry.normals = batch.hasNormals ? batch.normals.data() : nullptr;
        geometry.texCoords = batch.hasTexCoords ? batch.texCoords.data() : nullptr;
        geometry.colors = batch.hasColors ? batch.colors.data() : nullptr;
        geometry.vertexCount = static_cast<GLsizei>(VertexCount(batch));
        Send(geometry);
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
    JoinFilledRuns();
}

namespace {

// A vertex with all its attributes, as a key for finding it again.
struct SVertexKey {
    std::array<float, 13> values;
    friend bool operator==(const SVertexKey& a, const SVertexKey& b) {
        return std::memcmp(a.values.data(), b.values.data(), sizeof a.values) == 0;
    }
};

struct SVertexKeyHash {
    std::size_t operator()(const SVertexKey& key) const {
        CKeyHash hash;
        hash.Add(key.values);
        return static_cast<std::size_t>(hash.Value());
    }
};

} // namespace

void CGlMesh::JoinFilledRuns() {
    // Tessellators hand over many short strips, fans and quad strips: drawn one call each they
    // cost more than the vertices themselves, and as strips every vertex but the first few is
    // sent two or three times. Runs of them with the same attributes become one indexed list of
    // triangles, each distinct vertex kept once.
    CGlMesh joined;
    std::unordered_map<SVertexKey, GLuint, SVertexKeyHash> kept;
    auto keyOf = [&](std::size_t i) {
        SVertexKey key{};
        std::memcpy(&key.values[0], &m_vertices[i * 4], 4 * sizeof(float));
        std::memcpy(&key.values[4], &m_normals[i * 3], 3 * sizeof(float));
        std::memcpy(&key.values[7], &m_texCoords[i * 2], 2 * sizeof(float));
        std::memcpy(&key.values[9], &m_colors[i * 4], 4 * sizeof(float));
        return key;
    };
    auto copyVertex = [&](std::size_t i) {
        auto append = [i](std::vector<float>& to, const std::vector<float>& from, std::size_t n) {
            to.insert(to.end(), from.begin() + static_cast<long>(i * n),
                      from.begin() + static_cast<long>(i * n + n));
        };
        append(joined.m_vertices, m_vertices, 4);
        append(joined.m_normals, m_normals, 3);
        append(joined.m_texCoords, m_texCoords, 2);
        append(joined.m_colors, m_colors, 4);
        return static_cast<GLuint>(joined.m_vertices.size() / 4 - 1);
    };
    std::vector<GLuint> local;
    for (const SRange& range : m_ranges) {
        SRange out = range;
        if (FamilyOf(range.mode) == PrimitiveFamily::Triangles) {
            local.clear();
            AppendIndices(range.mode, static_cast<GLuint>(range.first), range.count, local);
            out.mode = GL_TRIANGLES;
            out.indexed = true;
            out.first = static_cast<GLint>(joined.m_indices.size());
            out.count = static_cast<GLsizei>(local.size());
            for (GLuint index : local) {
                const auto [at, added] = kept.try_emplace(keyOf(index), 0);
                if (added) {
                    at->second = copyVertex(index);
                }
                joined.m_indices.push_back(at->second);
            }
        } else {
            out.first = static_cast<GLint>(joined.m_vertices.size() / 4);
            for (GLint i = 0; i < range.count; ++i) {
                copyVertex(static_cast<std::size_t>(range.first + i));
            }
        }
        SRange* last = joined.m_ranges.empty() ? nullptr : &joined.m_ranges.back();
        if (last != nullptr && last->indexed && out.indexed && last->normals == out.normals &&
            last->texCoords == out.texCoords && last->colors == out.colors) {
            last->count += out.count;
        } else if (out.count > 0) {
            joined.m_ranges.push_back(out);
        }
    }
    m_vertices = std::move(joined.m_vertices);
    m_normals = std::move(joined.m_normals);
    m_texCoords = std::move(joined.m_texCoords);
    m_colors = std::move(joined.m_colors);
    m_ranges = std::move(joined.m_ranges);
    m_indices = std::move(joined.m_indices);
}

void CGlMesh::Clear() {
    m_vertices.clear();
    m_normals.clear();
    m_texCoords.clear();
    m_colors.clear();
    m_ranges.clear();
    m_indices.clear();
    m_recorded = false;
}

void CGlMesh::Draw() const {
    for (const SRange& range : m_ranges) {
        SGlGeometry geometry;
        geometry.mode = range.mode;
        geometry.normals = range.normals ? m_normals.data() : nullptr;
        geometry.texCoords = range.texCoords ? m_texCoords.data() : nullptr;
        geometry.colors = range.colors ? m_colors.data() : nullptr;
        if (range.indexed) {
            geometry.vertices = m_vertices.data();
            geometry.vertexCount = static_cast<GLsizei>(GetVertexCount());
            geometry.indices = m_indices.data() + range.first;
            geometry.indexCount = range.count;
        } else {
            const auto first = static_cast<std::size_t>(range.first);
            geometry.vertices = m_vertices.data() + first * 4;
            geometry.normals = geometry.normals != nullptr ? geometry.normals + first * 3 : nullptr;
            geometry.texCoords =
                geometry.texCoords != nullptr ? geometry.texCoords + first * 2 : nullptr;
            geometry.colors = geometry.colors != nullptr ? geometry.colors + first * 4 : nullptr;
            geometry.vertexCount = range.count;
        }
        GlBatch::Send(geometry);
    }
}
