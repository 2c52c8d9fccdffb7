// The definitions' look at a world's text: a small tokenizer of VRML97's comments, strings,
// brackets and names, stacks of the DEFs and PROTOs whose braces are open, and the PROTOs defined
// so far with the nodes that one instance of each makes.
#include "app/render/VrmlDefCheck.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <unordered_map>
#include <vector>

#include "app/render/VrmlScene.h"

namespace {

bool IsSeparator(char c) {
    switch (c) {
    case ' ':
    case '\t':
    case '\r':
    case '\n':
    case ',':
    case '{':
    case '}':
    case '[':
    case ']':
    case '"':
    case '#':
        return true;
    default:
        return false;
    }
}

// Words, braces and the other separators of the text, one at a time.
class CVrmlTokens {
public:
    explicit CVrmlTokens(std::string_view text) : m_text(text) {}

    // The next word, brace or bracket; empty at the end.
    std::string_view Next() {
        for (;;) {
            if (m_at >= m_text.size()) {
                return {};
            }
            const char c = m_text[m_at];
            if (c == '#') {
                while (m_at < m_text.size() && m_text[m_at] != '\n' && m_text[m_at] != '\r') {
                    ++m_at;
                }
            } else if (c == '"') {
                SkipString();
            } else if (c == '{' || c == '}' || c == '[' || c == ']') {
                return m_text.substr(m_at++, 1);
            } else if (IsSeparator(c)) {
                ++m_at;
            } else {
                const std::size_t start = m_at;
                while (m_at < m_text.size() && !IsSeparator(m_text[m_at])) {
                    ++m_at;
                }
                return m_text.substr(start, m_at - start);
            }
        }
    }

    // The next token when it is a name (of a DEF, USE or PROTO); empty, and the token left
    // unread, when a brace or bracket comes first.
    std::string_view NextName() {
        const std::size_t at = m_at;
        const std::string_view token = Next();
        if (token == "{" || token == "}" || token == "[" || token == "]") {
            m_at = at;
            return {};
        }
        return token;
    }

private:
    void SkipString() {
        for (++m_at; m_at < m_text.size(); ++m_at) {
            if (m_text[m_at] == '\\') {
                ++m_at;
            } else if (m_text[m_at] == '"') {
                ++m_at;
                return;
            }
        }
    }

    std::string_view m_text;
    std::size_t m_at = 0;
};

// The node types of VRML97, sorted.
constexpr std::array<std::string_view, 54> Vrml97Nodes = {
    "Anchor",
    "Appearance",
    "AudioClip",
    "Background",
    "Billboard",
    "Box",
    "Collision",
    "Color",
    "ColorInterpolator",
    "Cone",
    "Coordinate",
    "CoordinateInterpolator",
    "Cylinder",
    "CylinderSensor",
    "DirectionalLight",
    "ElevationGrid",
    "Extrusion",
    "Fog",
    "FontStyle",
    "Group",
    "ImageTexture",
    "IndexedFaceSet",
    "IndexedLineSet",
    "Inline",
    "LOD",
    "Material",
    "MovieTexture",
    "NavigationInfo",
    "Normal",
    "NormalInterpolator",
    "OrientationInterpolator",
    "PixelTexture",
    "PlaneSensor",
    "PointLight",
    "PointSet",
    "PositionInterpolator",
    "ProximitySensor",
    "ScalarInterpolator",
    "Script",
    "Shape",
    "Sound",
    "Sphere",
    "SphereSensor",
    "SpotLight",
    "Switch",
    "Text",
    "TextureCoordinate",
    "TextureTransform",
    "TimeSensor",
    "TouchSensor",
    "Transform",
    "Viewpoint",
    "VisibilitySensor",
    "WorldInfo",
};

bool IsVrml97Node(std::string_view name) {
    return std::binary_search(Vrml97Nodes.begin(), Vrml97Nodes.end(), name);
}

// Node counts saturate just above the limit.
uint64_t AddNodes(uint64_t a, uint64_t b) {
    return std::min(a + b, MaxVrmlNodes + 1);
}

class CDefinitionCheck {
public:
    explicit CDefinitionCheck(std::string_view text) : m_tokens(text) {}

    std::string Run() {
        for (std::string_view token = m_tokens.Next(); !token.empty() && m_reason.empty();
             token = m_tokens.Next()) {
            if (token == "{") {
                OpenBrace();
            } else if (token == "}") {
                CloseBrace();
            } else if (token == "[") {
                ++m_brackets;
                m_word = {};
            } else if (token == "]") {
                m_brackets = m_brackets > 0 ? m_brackets - 1 : 0;
                m_word = {};
            } else {
                Word(token);
            }
        }
        return m_reason;
    }

private:
    struct SOpenDef {
        std::string_view name;
        std::size_t depth; // brace depth inside the definition's node
    };
    struct SOpenProto {
        std::string_view name;
        std::size_t depth;    // brace depth of the PROTO statement
        std::size_t brackets; // bracket depth of the PROTO statement
        bool bodyOpen = false;
        uint64_t nodes = 0; // made by one instance
    };

    void Word(std::string_view token) {
        m_word = token;
        if (token == "DEF") {
            m_pendingDef = m_tokens.NextName();
            m_word = {};
        } else if (token == "USE") {
            const std::string_view name = m_tokens.NextName();
            m_word = {};
            for (const SOpenDef& def : m_defs) {
                if (def.name == name) {
                    m_reason = VrmlReason(VrmlText::InsideItself, name);
                }
            }
        } else if (token == "PROTO") {
            m_protos.push_back({m_tokens.NextName(), m_depth, m_brackets});
            m_word = {};
        } else if (token == "EXTERNPROTO") {
            m_defined[m_tokens.NextName()] = 1;
            m_word = {};
        }
    }

    void OpenBrace() {
        if (!m_word.empty()) {
            NodeType(m_word);
            m_word = {};
        } else if (!m_protos.empty() && !m_protos.back().bodyOpen &&
                   m_protos.back().depth == m_depth && m_protos.back().brackets == m_brackets) {
            m_protos.back().bodyOpen = true;
        }
        ++m_depth;
        if (!m_pendingDef.empty()) {
            m_defs.push_back({m_pendingDef, m_depth});
            m_pendingDef = {};
        }
    }

    void CloseBrace() {
        m_word = {};
        if (!m_defs.empty() && m_defs.back().depth == m_depth) {
            m_defs.pop_back();
        }
        m_depth = m_depth > 0 ? m_depth - 1 : 0;
        if (!m_protos.empty() && m_protos.back().bodyOpen && m_protos.back().depth == m_depth) {
            m_defined[m_protos.back().name] = m_protos.back().nodes;
            m_protos.pop_back();
        }
    }

    // A node of the type is made here: one node, or the nodes of a PROTO's instance, counted
    // for the whole world and for every PROTO being defined around it.
    void NodeType(std::string_view type) {
        for (const SOpenProto& proto : m_protos) {
            if (proto.name == type) {
                m_reason = VrmlReason(VrmlText::InsideItself, type);
                return;
            }
        }
        uint64_t nodes = 1;
        if (const auto defined = m_defined.find(type); defined != m_defined.end()) {
            nodes = defined->second;
        } else if (!IsVrml97Node(type)) {
            m_reason = VrmlReason(VrmlText::UnknownNode, type);
            return;
        }
        for (SOpenProto& proto : m_protos) {
            proto.nodes = AddNodes(proto.nodes, nodes);
        }
        m_nodes = AddNodes(m_nodes, nodes);
        if (m_nodes > MaxVrmlNodes) {
            m_reason = VrmlReason(VrmlText::TooLarge, std::to_string(MaxVrmlTriangles),
                                  std::to_string(MaxVrmlNodes));
        }
    }

    CVrmlTokens m_tokens;
    std::string m_reason;
    std::size_t m_depth = 0;
    std::size_t m_brackets = 0;
    std::string_view m_word;       // the name just read, a node type if '{' follows
    std::string_view m_pendingDef; // a DEF whose node's brace has not come yet
    std::vector<SOpenDef> m_defs;
    std::vector<SOpenProto> m_protos;
    std::unordered_map<std::string_view, uint64_t> m_defined; // PROTOs: nodes of an instance
    uint64_t m_nodes = 0;
};

} // namespace

std::string FindDefinitionFault(std::string_view text) {
    return CDefinitionCheck(text).Run();
}
