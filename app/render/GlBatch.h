// Geometry for OpenGL in the shape of immediate mode, sent through vertex arrays. The drawing
// code writes Begin, Normal, TexCoord, Color, Vertex and End as it would write glBegin ...
// glEnd; the batch collects the vertices with their attributes and End hands them to GL in one
// glDrawArrays. Geometry must never reach GL through glBegin/glEnd in a selection or feedback
// pass: this platform's Mesa loses memory for every such primitive, and arrays select faster.
//
// Attributes behave as in immediate mode: a vertex takes the normal, texture coordinate and
// colour given last, before the batch or inside it, and after End the last ones given stay
// current. Outside a batch, Normal, TexCoord and Color set GL's current values directly.
//
// A CGlMesh records the batches drawn while it records, instead of drawing them, and draws them
// again later as often as asked: geometry that does not change from frame to frame is computed
// once. One batch and one recording at a time, on the thread that owns the GL context.
//
// A geometry sink, while one is set, takes every batch and every kept mesh that would be drawn
// (a recording mesh still takes its batches first): the drawing code's geometry can be gathered
// without changing that code.
#pragma once

#include <cstddef>
#include <vector>

#include <GL/gl.h>

// Geometry as it would reach GL: vertexCount vertices of 4 coordinates, with normals (3),
// texture coordinates (2) and colours (4) where given (nullptr: GL's current value for every
// vertex), drawn as mode in order, or through indexCount indices into them.
struct SGlGeometry {
    GLenum mode = GL_POINTS;
    const float* vertices = nullptr;
    const float* normals = nullptr;
    const float* texCoords = nullptr;
    const float* colors = nullptr;
    GLsizei vertexCount = 0;
    const GLuint* indices = nullptr;
    GLsizei indexCount = 0;
};

class IGlGeometrySink {
public:
    virtual ~IGlGeometrySink() = default;
    virtual void Take(const SGlGeometry& geometry) = 0;
};

namespace GlBatch {

// The sink that takes the geometry instead of GL; nullptr (the default) draws.
IGlGeometrySink* GetSink();

// Hands every batch and kept mesh to the sink while the scope lasts, then gives back the sink
// (or drawing) in force before.
class CSinkScope {
public:
    explicit CSinkScope(IGlGeometrySink& sink);
    ~CSinkScope();
    CSinkScope(const CSinkScope&) = delete;
    CSinkScope& operator=(const CSinkScope&) = delete;

private:
    IGlGeometrySink* m_previous;
};

// Draws the geometry, or hands it to the sink. The current normal, texture coordinate and
// colour are left as the last vertex drawn from an array gives them.
void Send(const SGlGeometry& geometry);

void Begin(GLenum mode);
void End();

void Normal(float x, float y, float z);
inline void Normal(double x, double y, double z) {
    Normal(static_cast<float>(x), static_cast<float>(y), static_cast<float>(z));
}
inline void Normal3v(const float* n) {
    Normal(n[0], n[1], n[2]);
}
void TexCoord(float s, float t);
inline void TexCoord2v(const float* st) {
    TexCoord(st[0], st[1]);
}
void Color(float r, float g, float b, float a = 1.0f);

void Vertex(float x, float y, float z, float w = 1.0f);
inline void Vertex(double x, double y, double z) {
    Vertex(static_cast<float>(x), static_cast<float>(y), static_cast<float>(z));
}
inline void Vertex2(double x, double y) {
    Vertex(static_cast<float>(x), static_cast<float>(y), 0.0f);
}
inline void Vertex3v(const float* v) {
    Vertex(v[0], v[1], v[2]);
}
inline void Vertex3v(const double* v) {
    Vertex(v[0], v[1], v[2]);
}
inline void Vertex4v(const float* v) {
    Vertex(v[0], v[1], v[2], v[3]);
}

} // namespace GlBatch

// Batches kept for drawing again. Drawing a mesh sets the attributes it carries for its own
// vertices; vertices without a normal, texture coordinate or colour take GL's current ones.
class CGlMesh {
public:
    // Starts recording: the batches ended from now on are kept here instead of drawn. Anything
    // kept before is dropped. Ending the recording joins runs of filled primitives (triangles,
    // strips, fans, quads, polygons) with the same attributes into one indexed triangle list:
    // the same triangles, wound the same, each vertex kept once.
    void BeginRecording();
    void EndRecording();
    bool IsRecorded() const { return m_recorded; }
    void Clear();

    // Draws every kept batch; nothing for an empty mesh.
    void Draw() const;
    std::size_t GetVertexCount() const { return m_vertices.size() / 4; }
    // Draw calls that Draw makes.
    std::size_t GetRangeCount() const { return m_ranges.size(); }

    // A run of vertices (first, count) drawn as mode, or of indices when indexed.
    struct SRange {
        GLenum mode;
        GLint first;
        GLsizei count;
        bool normals;
        bool texCoords;
        bool colors;
        bool indexed = false;
    };

private:
    friend struct SGlBatchAccess;
    void JoinFilledRuns();

    std::vector<float> m_vertices;  // 4 per vertex
    std::vector<float> m_normals;   // 3 per vertex
    std::vector<float> m_texCoords; // 2 per vertex
    std::vector<float> m_colors;    // 4 per vertex
    std::vector<SRange> m_ranges;
    std::vector<GLuint> m_indices;
    bool m_recorded = false;
};
