// Gathering geometry: world coordinates, groups.
#include "app/render/SceneGather.h"

#include <algorithm>
#include <cmath>

#include "app/render/GlBatch.h"
#include "model/Elmnt.h"

namespace SceneGather {

using DrawKey::ApplyGlState;
using DrawKey::ReadGlState;
using DrawKey::SGlState;
using DrawKey::SLimits;

namespace {

// The model-view matrix (column-major) as it moves points and normals into world coordinates.
class CPlacing {
public:
    explicit CPlacing(const std::array<double, 16>& m) : m_m(m) {
        // Normals move by the inverse transpose of the upper 3 x 3: the cofactors over the
        // determinant (the sign matters, the length does not: GL normalises).
        const auto a = [&](int row, int col) { return m[static_cast<std::size_t>(col * 4 + row)]; };
        for (int r = 0; r < 3; ++r) {
            for (int c = 0; c < 3; ++c) {
                const int r1 = (r + 1) % 3;
                const int r2 = (r + 2) % 3;
                const int c1 = (c + 1) % 3;
                const int c2 = (c + 2) % 3;
                m_normal[static_cast<std::size_t>(r * 3 + c)] =
                    a(r1, c1) * a(r2, c2) - a(r1, c2) * a(r2, c1);
            }
        }
        const double det = a(0, 0) * m_normal[0] + a(0, 1) * m_normal[1] + a(0, 2) * m_normal[2];
        const double scale = det < 0.0 ? -1.0 : 1.0;
        for (double& value : m_normal) {
            value *= scale;
        }
    }

    void Point(const float* in, std::vector<float>& out) const {
        for (int row = 0; row < 4; ++row) {
            double sum = 0.0;
            for (int col = 0; col < 4; ++col) {
                sum += m_m[static_cast<std::size_t>(col * 4 + row)] * in[col];
            }
            out.push_back(static_cast<float>(sum));
        }
    }

    void Normal(const float* in, std::vector<float>& out) const {
        double n[3];
        for (int row = 0; row < 3; ++row) {
            n[row] = m_normal[static_cast<std::size_t>(row * 3)] * in[0] +
                     m_normal[static_cast<std::size_t>(row * 3 + 1)] * in[1] +
                     m_normal[static_cast<std::size_t>(row * 3 + 2)] * in[2];
        }
        const double length = std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
        const double f = length > 0.0 ? 1.0 / length : 0.0;
        out.insert(out.end(), {static_cast<float>(n[0] * f), static_cast<float>(n[1] * f),
                               static_cast<float>(n[2] * f)});
    }

private:
    std::array<double, 16> m_m;
    std::array<double, 9> m_normal{}; // row-major
};

// Takes the geometry of one run's elements while they are drawn, and the state it meets.
class CGatherer : public IGlGeometrySink {
public:
    CGatherer(std::vector<SGroup>& groups, const SLimits& limits)
        : m_groups(groups), m_limits(limits) {}

    // Before each element: remembers where its geometry starts.
    void BeginElement(bool selected) {
        m_selected = selected;
        m_marks.clear();
        for (const SGroup& group : m_groups) {
            m_marks.push_back({group.vertices.size(), group.indices.size()});
        }
        m_gatherable = true;
    }

    // After it: false, and its geometry taken back, when it met state that cannot be gathered.
    bool EndElement() {
        if (m_gatherable) {
            return true;
        }
        m_groups.resize(m_marks.size());
        for (std::size_t g = 0; g < m_marks.size(); ++g) {
            SGroup& group = m_groups[g];
            const std::size_t vertices = m_marks[g].first / 4;
            group.vertices.resize(vertices * 4);
            group.normals.resize(vertices * 3);
            group.colors.resize(group.key.lit ? 0 : vertices * 4);
            group.indices.resize(m_marks[g].second);
        }
        return false;
    }

    void Take(const SGlGeometry& geometry) override {
        if (!m_gatherable) {
            return;
        }
        if (!m_limits.AllowGathering()) {
            m_gatherable = false;
            return;
        }
        const SGlState state = ReadGlState();
        std::array<double, 16> modelView{};
        glGetDoublev(GL_MODELVIEW_MATRIX, modelView.data());
        SGroupKey key;
        key.family = FamilyOf(geometry.mode);
        key.lit = state.lit;
        key.selected = m_selected;
        key.shadeModel = state.shadeModel;
        if (state.lit) {
            key.material = state.material;
        }
        Append(FindGroup(key), geometry, state, CPlacing(modelView));
    }

private:
    SGroup& FindGroup(const SGroupKey& key) {
        for (SGroup& group : m_groups) {
            if (group.key == key) {
                return group;
            }
        }
        m_groups.push_back(SGroup{key, {}, 0.0, {}, {}, {}, {}});
        return m_groups.back();
    }

    void Append(SGroup& group, const SGlGeometry& geometry, const SGlState& state,
                const CPlacing& placing) {
        // The vertices the geometry uses, each copied once, in world coordinates.
        m_remap.assign(static_cast<std::size_t>(geometry.vertexCount), kUnused);
        auto vertexOf = [&](GLuint source) {
            GLuint& target = m_remap[source];
            if (target == kUnused) {
                target = static_cast<GLuint>(group.VertexCount());
                placing.Point(&geometry.vertices[source * 4], group.vertices);
                placing.Normal(geometry.normals != nullptr ? &geometry.normals[source * 3]
                                                           : state.normal.data(),
                               group.normals);
                if (!group.key.lit) {
                    const float* colour = geometry.colors != nullptr ? &geometry.colors[source * 4]
                                                                     : state.color.data();
                    group.colors.insert(group.colors.end(), colour, colour + 4);
                }
            }
            return target;
        };
        const bool indexed = geometry.indices != nullptr;
        m_local.clear();
        AppendIndices(geometry.mode, 0, indexed ? geometry.indexCount : geometry.vertexCount,
                      m_local);
        for (GLuint local : m_local) {
            const GLuint source = indexed ? geometry.indices[local] : local;
            if (source < m_remap.size()) {
                group.indices.push_back(vertexOf(source));
            }
        }
    }

    static constexpr GLuint kUnused = ~GLuint{0};

    std::vector<SGroup>& m_groups;
    const SLimits& m_limits;
    std::vector<std::pair<std::size_t, std::size_t>> m_marks; // vertex floats, indices
    std::vector<GLuint> m_remap;
    std::vector<GLuint> m_local;
    bool m_gatherable = true;
    bool m_selected = false;
};

// The sphere about the middle of the group's bounding box (w is 1 for everything gathered).
void SetBounds(SGroup& group) {
    std::array<double, 3> low{1e300, 1e300, 1e300};
    std::array<double, 3> high{-1e300, -1e300, -1e300};
    for (std::size_t i = 0; i + 3 < group.vertices.size(); i += 4) {
        const double w = group.vertices[i + 3] != 0.0f ? group.vertices[i + 3] : 1.0f;
        for (std::size_t axis = 0; axis < 3; ++axis) {
            const double value = group.vertices[i + axis] / w;
            low[axis] = std::min(low[axis], value);
            high[axis] = std::max(high[axis], value);
        }
    }
    group.centre = CVector3((low[0] + high[0]) / 2, (low[1] + high[1]) / 2, (low[2] + high[2]) / 2);
    group.radius = 0.5 * std::hypot(high[0] - low[0], high[1] - low[1], high[2] - low[2]);
}

} // namespace

void GatherRun(std::span<const CElmnt* const> members, const SGlState& start, const SLimits& limits,
               const std::function<void(const CElmnt&)>& draw, std::vector<SGroup>& groups,
               std::vector<SSingle>& singles) {
    ApplyGlState(start);
    glPushMatrix();
    glLoadIdentity();
    CGatherer gatherer(groups, limits);
    {
        const GlBatch::CSinkScope gathering(gatherer);
        for (const CElmnt* elmnt : members) {
            const SGlState before = ReadGlState();
            gatherer.BeginElement(elmnt->selected);
            draw(*elmnt);
            if (!gatherer.EndElement()) {
                singles.push_back({elmnt, before});
            }
        }
    }
    glPopMatrix();
    std::erase_if(groups, [](const SGroup& group) { return group.indices.empty(); });
    for (SGroup& group : groups) {
        SetBounds(group);
    }
}

} // namespace SceneGather
