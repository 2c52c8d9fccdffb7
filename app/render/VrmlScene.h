// The surfaces of a VRML97 world as plain triangles, read once through Coin and kept in memory:
// the slide model is drawn from them in any GL context without Coin. Only geometry is kept:
// the world's background, lights, viewpoint, materials and textures have no effect here.
// Coin runs in a child process for each reading: its reader crashes on some damaged files,
// and such a file must only be refused, never end the program.
#pragma once

#include <array>
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "support/Box3.h"

// One corner of a triangle in the world's frame and units (for the slide model: millimetres in
// the element's local frame).
struct SVrmlVertex {
    std::array<float, 3> point{};
    std::array<float, 3> normal{}; // unit length, on the front side of the face
    std::array<float, 2> texCoord{};
};

// A world that would give more triangles than this is refused: a few nested uses of one
// definition in a file of a few hundred bytes would otherwise fill the memory.
inline constexpr std::size_t MaxVrmlTriangles = 2'000'000;

class CVrmlScene {
public:
    // Reads the world in the file; nothing, with the reason, when the file cannot be read, is
    // not a VRML97 world, names other files, holds anything that Coin reported or that would
    // make it read out of bounds (indexes beyond their lists, nodes of the wrong type in a node
    // field), would give more than MaxVrmlTriangles, or when the reader fails on it or takes
    // longer than 20 s. A world compressed with gzip is unpacked first and read as its text.
    // Faces of fewer than three corners are left out. Every reading starts without the
    // definitions of earlier ones. Blocks meanwhile.
    static std::unique_ptr<CVrmlScene> Read(const std::string& path, std::string& reason);
    // The same for a world given as its text.
    static std::unique_ptr<CVrmlScene> ReadText(std::string_view text, std::string& reason);
    // ReadText without the child process and its time limit: a world that Coin's reader does
    // not survive ends the calling process. For examining the reader itself; the program reads
    // through ReadText.
    static std::unique_ptr<CVrmlScene> ReadTextInProcess(std::string_view text,
                                                         std::string& reason);

    // Three vertices a triangle, counter-clockwise seen from the front.
    const std::vector<SVrmlVertex>& GetVertices() const { return m_vertices; }
    std::size_t GetTriangleCount() const { return m_vertices.size() / 3; }
    // True when some surface of the file gives texture coordinates of its own.
    bool HasTexCoords() const { return m_hasTexCoords; }
    // Extent of all triangles; all bounds 0 for a world without surfaces.
    const CBox3& GetBounds() const { return m_bounds; }

private:
    CVrmlScene() = default;
    // Reading and checking in this process, as the child process does it.
    static std::unique_ptr<CVrmlScene> Parse(std::string_view text, std::string& reason);
    // The scene as the child hands it back, and the way back.
    static std::string Serialize(const CVrmlScene& scene);
    static bool Deserialize(const std::string& in, std::vector<SVrmlVertex>& vertices,
                            bool& hasTexCoords, std::string& reason);
    // Sets the bounds from the vertices.
    void MeasureBounds();

    std::vector<SVrmlVertex> m_vertices;
    bool m_hasTexCoords = false;
    CBox3 m_bounds;
};

// Makes Coin usable (its type system and node classes) in the calling process and keeps it from
// reading any file a world names; any number of calls, only the first does anything. Reading a
// scene calls it in the reading process; the program's own process never needs it.
void InitCoin();
