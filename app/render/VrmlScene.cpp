// Reading a VRML97 world through Coin in a child process: the text is parsed, every node is
// checked for what would make Coin read out of bounds while it generates primitives (Coin
// trusts indexes and node types), a callback action collects the triangles of the surface nodes
// in world space, and the triangles travel back to the program through a pipe. Nothing of Coin
// is kept after reading.
#include "app/render/VrmlScene.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <mutex>
#include <unordered_map>
#include <unordered_set>

#include <zlib.h>

#include <Inventor/SbMatrix.h>
#include <Inventor/SoDB.h>
#include <Inventor/SoInput.h>
#include <Inventor/SoPrimitiveVertex.h>
#include <Inventor/VRMLnodes/SoVRMLAppearance.h>
#include <Inventor/VRMLnodes/SoVRMLBox.h>
#include <Inventor/VRMLnodes/SoVRMLColor.h>
#include <Inventor/VRMLnodes/SoVRMLCone.h>
#include <Inventor/VRMLnodes/SoVRMLCoordinate.h>
#include <Inventor/VRMLnodes/SoVRMLCylinder.h>
#include <Inventor/VRMLnodes/SoVRMLElevationGrid.h>
#include <Inventor/VRMLnodes/SoVRMLExtrusion.h>
#include <Inventor/VRMLnodes/SoVRMLFontStyle.h>
#include <Inventor/VRMLnodes/SoVRMLGeometry.h>
#include <Inventor/VRMLnodes/SoVRMLImageTexture.h>
#include <Inventor/VRMLnodes/SoVRMLIndexedFaceSet.h>
#include <Inventor/VRMLnodes/SoVRMLIndexedLineSet.h>
#include <Inventor/VRMLnodes/SoVRMLInline.h>
#include <Inventor/VRMLnodes/SoVRMLMaterial.h>
#include <Inventor/VRMLnodes/SoVRMLMovieTexture.h>
#include <Inventor/VRMLnodes/SoVRMLNormal.h>
#include <Inventor/VRMLnodes/SoVRMLPixelTexture.h>
#include <Inventor/VRMLnodes/SoVRMLSphere.h>
#include <Inventor/VRMLnodes/SoVRMLText.h>
#include <Inventor/VRMLnodes/SoVRMLTexture.h>
#include <Inventor/VRMLnodes/SoVRMLTextureCoordinate.h>
#include <Inventor/VRMLnodes/SoVRMLTextureTransform.h>
#include <Inventor/actions/SoCallbackAction.h>
#include <Inventor/errors/SoReadError.h>
#include <Inventor/fields/SoMFNode.h>
#include <Inventor/fields/SoSFNode.h>
#include <Inventor/lists/SoFieldList.h>
#include <Inventor/misc/SoChildList.h>
#include <Inventor/misc/SoProto.h>
#include <Inventor/misc/SoProtoInstance.h>
#include <Inventor/nodes/SoGroup.h>
#include <Inventor/nodes/SoSeparator.h>

#include "app/render/ChildProcess.h"
#include "app/render/VrmlDefCheck.h"
#include "support/File.h"

namespace {

// Worlds in other files are never read: the model is one file, and a reference to a device or a
// huge file must not stall the program. Inline nodes are then refused by the scene check; an
// external PROTO that is not found makes the reader fail.
SoProto* DontFetchExternProto(SoInput*, const SbString*, int, void*) {
    return nullptr;
}

// Textures are never drawn, so that every texture node of a world is made as one of these
// instead: the same type and fields, but traversals pass it by as if it were not there (a pixel
// texture would otherwise give the surfaces texture coordinates of its own).
template <typename Texture> class CIgnoredTexture : public Texture {
public:
    void doAction(SoAction*) override {}
    void GLRender(SoGLRenderAction*) override {}
    void callback(SoCallbackAction*) override {}
    void rayPick(SoRayPickAction*) override {}
};

// Coin's image texture also opens (and fails on) the file that its url names as soon as the
// node is read, and whenever the url changes: this one never looks at its url.
class CIgnoredImageTexture final : public CIgnoredTexture<SoVRMLImageTexture> {
public:
    CIgnoredImageTexture() {
        // The base watches its url with a sensor that loads the image at once.
        url.enableNotify(FALSE);
    }

protected:
    // Only the fields, without the base's loading of the image.
    SbBool readInstance(SoInput* in, unsigned short flags) override {
        return SoVRMLTexture::readInstance(in, flags);
    }
};

template <typename Node> void* CreateNode() {
    return new Node;
}

} // namespace

void InitCoin() {
    static std::once_flag once;
    std::call_once(once, [] {
        SoDB::init();
        SoVRMLInline::setReadAsSoFile(FALSE);
        SoProto::setFetchExternProtoCallback(&DontFetchExternProto, nullptr);
        SoType::overrideType(SoVRMLImageTexture::getClassTypeId(),
                             &CreateNode<CIgnoredImageTexture>);
        SoType::overrideType(SoVRMLPixelTexture::getClassTypeId(),
                             &CreateNode<CIgnoredTexture<SoVRMLPixelTexture>>);
        SoType::overrideType(SoVRMLMovieTexture::getClassTypeId(),
                             &CreateNode<CIgnoredTexture<SoVRMLMovieTexture>>);
    });
}

namespace {

// More grid points than this in one elevation grid are refused (the grid alone would take
// gigabytes of triangles).
constexpr int64_t MaxGridPoints = int64_t{1} << 24;

// Collects the first report of Coin's reader while it lives (Coin's own handler would print
// it on the standard error stream), and puts the previous handler back afterwards.
class CReadErrorCapture {
public:
    CReadErrorCapture()
        : m_previous(SoReadError::getHandlerCallback()),
          m_previousData(SoReadError::getHandlerData()) {
        SoReadError::setHandlerCallback(&Handle, this);
    }
    ~CReadErrorCapture() { SoReadError::setHandlerCallback(m_previous, m_previousData); }
    CReadErrorCapture(const CReadErrorCapture&) = delete;
    CReadErrorCapture& operator=(const CReadErrorCapture&) = delete;

    bool HasError() const { return m_count > 0; }
    const std::string& GetFirst() const { return m_first; }

private:
    static void Handle(const SoError* error, void* data) {
        auto* self = static_cast<CReadErrorCapture*>(data);
        if (self->m_count++ == 0) {
            self->m_first = error->getDebugString().getString();
        }
    }

    SoErrorCB* m_previous;
    void* m_previousData;
    int m_count = 0;
    std::string m_first;
};

// The world's text as Coin's input, which refuses to open any file that the world names (Coin
// reads such files into the world while it parses, before anything could be checked).
class CSingleFileInput : public SoInput {
public:
    SbBool pushFile(const char* fileName) override {
        if (m_otherFile.empty()) {
            m_otherFile = VrmlReason(VrmlText::OtherFile, fileName != nullptr ? fileName : "");
        }
        return FALSE;
    }

    // Empty unless the world named another file.
    const std::string& GetOtherFile() const { return m_otherFile; }
    // True when only white space and comments are left.
    bool IsAtEnd() {
        skipWhiteSpace();
        return eof() != FALSE;
    }

private:
    std::string m_otherFile;
};

// The world's top-level nodes under a separator that the file does not hold (without a
// reference), or nullptr when Coin's reader fails. As SoDB::readAll, but text after the world
// is refused here (with the reason): Coin reports it once per process only, and every reading
// must decide alike.
SoSeparator* ReadWorld(CSingleFileInput& input, std::string& reason) {
    if (input.isValidFile() == FALSE) {
        return nullptr;
    }
    auto* root = new SoSeparator;
    root->ref();
    for (;;) {
        SoNode* node = nullptr;
        if (SoDB::read(&input, node) == FALSE) {
            root->unref();
            return nullptr;
        }
        if (node == nullptr) {
            break;
        }
        root->addChild(node);
    }
    if (!input.IsAtEnd()) {
        root->unref();
        reason = VrmlReason(VrmlText::TextAfterWorld);
        return nullptr;
    }
    root->unrefNoDelete();
    return root;
}

// Holds a reference on a node for its lifetime.
class CNodeRef {
public:
    explicit CNodeRef(SoNode* node) : m_node(node) {
        if (m_node != nullptr) {
            m_node->ref();
        }
    }
    ~CNodeRef() {
        if (m_node != nullptr) {
            m_node->unref();
        }
    }
    CNodeRef(const CNodeRef&) = delete;
    CNodeRef& operator=(const CNodeRef&) = delete;

private:
    SoNode* m_node;
};

std::string NodeName(const SoNode& node) {
    return node.getTypeId().getName().getString();
}

// The node held by a node field of the given name; nullptr when the node has no such node
// field or the field is empty.
SoNode* NodeField(const SoNode& node, const char* name) {
    SoField* field = node.getField(SbName(name));
    if (field == nullptr || !field->isOfType(SoSFNode::getClassTypeId())) {
        return nullptr;
    }
    return static_cast<SoSFNode*>(field)->getValue();
}

// Entries in the list that a property node of the vertex shapes gives; -1 for no node.
int PropertyCount(const SoNode* node) {
    if (node == nullptr) {
        return -1;
    }
    if (node->isOfType(SoVRMLCoordinate::getClassTypeId())) {
        return static_cast<const SoVRMLCoordinate*>(node)->point.getNum();
    }
    if (node->isOfType(SoVRMLNormal::getClassTypeId())) {
        return static_cast<const SoVRMLNormal*>(node)->vector.getNum();
    }
    if (node->isOfType(SoVRMLColor::getClassTypeId())) {
        return static_cast<const SoVRMLColor*>(node)->color.getNum();
    }
    if (node->isOfType(SoVRMLTextureCoordinate::getClassTypeId())) {
        return static_cast<const SoVRMLTextureCoordinate*>(node)->point.getNum();
    }
    return -1;
}

// Triangles of the round primitives as Coin makes them, and somewhat more than its most
// intricate glyph gives (113, '@').
constexpr uint64_t ConeTriangles = 38;
constexpr uint64_t CylinderTriangles = 76;
constexpr uint64_t SphereTriangles = 390;
constexpr uint64_t GlyphTriangles = 150;

std::string TooManyTriangles() {
    return VrmlReason(VrmlText::TooLarge, std::to_string(MaxVrmlTriangles),
                      std::to_string(MaxVrmlNodes));
}

// Triangle counts saturate just above the limit.
uint64_t AddTriangles(uint64_t a, uint64_t b) {
    return std::min(a + b, uint64_t{MaxVrmlTriangles} + 1);
}

// Walks every node of the world once (through children and node fields), finds the first
// thing that Coin would not survive or that is not VRML97, and counts the triangles that the
// world would give, each node once for every place it is used in.
class CSceneCheck {
public:
    // An empty text when the world can be traversed safely and gives at most MaxVrmlTriangles.
    std::string Check(SoNode* root) {
        if (Visit(root, true) > MaxVrmlTriangles && m_reason.empty()) {
            m_reason = TooManyTriangles();
        }
        return m_reason;
    }

private:
    // The triangles of the node and of everything below it.
    uint64_t Visit(SoNode* node, bool isRoot) {
        if (node == nullptr || !m_reason.empty()) {
            return 0;
        }
        // A node used inside itself would send every traversal round for ever.
        if (m_path.count(node) != 0) {
            Fail(VrmlReason(VrmlText::InsideItself, NodeName(*node)));
            return 0;
        }
        if (const auto seen = m_triangles.find(node); seen != m_triangles.end()) {
            return seen->second;
        }
        m_path.insert(node);
        const uint64_t triangles = VisitUnseen(node, isRoot);
        m_path.erase(node);
        m_triangles.emplace(node, triangles);
        return triangles;
    }

    uint64_t VisitUnseen(SoNode* node, bool isRoot) {
        // A PROTO's definition stays in the graph but draws nothing; its instances are copies
        // of its nodes and are checked where they stand.
        if (node->isOfType(SoProto::getClassTypeId())) {
            return 0;
        }
        if (node->isOfType(SoVRMLInline::getClassTypeId())) {
            const SoMFString& url = static_cast<SoVRMLInline*>(node)->url;
            Fail(VrmlReason(VrmlText::OtherFile, url.getNum() > 0 ? url[0].getString() : ""));
            return 0;
        }
        // Coin also reads its own Inventor nodes from a VRML97 file (and marks them as VRML97
        // nodes), but nothing checks their lists: only the VRML97 classes are accepted. The
        // exceptions are the group that the world is read into and the group that Coin makes
        // the root of a PROTO instance whose body holds several nodes; neither was read.
        const bool wrapper = (isRoot && (node->getNodeType() & SoNode::VRML2) == 0) ||
                             (node->getTypeId() == SoGroup::getClassTypeId() &&
                              SoProtoInstance::findProtoInstance(node) != nullptr);
        if (!wrapper && NodeName(*node).rfind("VRML", 0) != 0) {
            Fail(VrmlReason(VrmlText::UnknownNode, NodeName(*node)));
            return 0;
        }
        CheckNodeFields(*node);
        uint64_t triangles = 0;
        if (node->isOfType(SoVRMLIndexedFaceSet::getClassTypeId())) {
            triangles = CheckFaceSet(*static_cast<SoVRMLIndexedFaceSet*>(node));
        } else if (node->isOfType(SoVRMLIndexedLineSet::getClassTypeId())) {
            CheckLineSet(*static_cast<SoVRMLIndexedLineSet*>(node));
        } else if (node->isOfType(SoVRMLElevationGrid::getClassTypeId())) {
            triangles = CheckGrid(*static_cast<SoVRMLElevationGrid*>(node));
        } else if (node->isOfType(SoVRMLExtrusion::getClassTypeId())) {
            triangles = CheckExtrusion(*static_cast<SoVRMLExtrusion*>(node));
        } else {
            triangles = PrimitiveTriangles(*node);
        }
        if (!m_reason.empty()) {
            return 0;
        }
        // Group nodes list their children in a field as well as in the child list that
        // traversals follow, and the shape and appearance nodes their parts: each node below
        // counts once for every place it is used in, through its field where it has one.
        std::unordered_map<const SoNode*, int> inFields;
        const auto below = [&](SoNode* child) {
            if (child != nullptr) {
                ++inFields[child];
                triangles = AddTriangles(triangles, Visit(child, false));
            }
        };
        SoFieldList fields;
        node->getFields(fields);
        for (int i = 0; i < fields.getLength(); ++i) {
            SoField* field = fields[i];
            if (field->isOfType(SoSFNode::getClassTypeId())) {
                below(static_cast<SoSFNode*>(field)->getValue());
            } else if (field->isOfType(SoMFNode::getClassTypeId())) {
                const auto* list = static_cast<SoMFNode*>(field);
                for (int k = 0; k < list->getNum(); ++k) {
                    below((*list)[k]);
                }
            }
        }
        if (const SoChildList* children = node->getChildren()) {
            for (int i = 0; i < children->getLength(); ++i) {
                SoNode* child = (*children)[i];
                if (const auto field = inFields.find(child);
                    field != inFields.end() && field->second > 0) {
                    --field->second;
                } else {
                    triangles = AddTriangles(triangles, Visit(child, false));
                }
            }
        }
        return triangles;
    }

    // Coin casts the nodes of these fields to the type the field stands for without checking.
    void CheckNodeFields(const SoNode& node) {
        static const struct {
            const char* field;
            SoType (*type)();
        } expected[] = {
            {"appearance", &SoVRMLAppearance::getClassTypeId},
            {"color", &SoVRMLColor::getClassTypeId},
            {"coord", &SoVRMLCoordinate::getClassTypeId},
            {"fontStyle", &SoVRMLFontStyle::getClassTypeId},
            {"geometry", &SoVRMLGeometry::getClassTypeId},
            {"material", &SoVRMLMaterial::getClassTypeId},
            {"normal", &SoVRMLNormal::getClassTypeId},
            {"texCoord", &SoVRMLTextureCoordinate::getClassTypeId},
            {"texture", &SoVRMLTexture::getClassTypeId},
            {"textureTransform", &SoVRMLTextureTransform::getClassTypeId},
        };
        for (const auto& entry : expected) {
            const SoNode* value = NodeField(node, entry.field);
            if (value != nullptr && !value->isOfType(entry.type())) {
                Fail(VrmlReason(VrmlText::WrongNodeInField, NodeName(node), entry.field,
                                NodeName(*value)));
                return;
            }
        }
    }

    // Indexes into a list of count entries, -1 ending a face or line.
    bool CheckIndexes(const SoNode& node, const char* name, const SoMFInt32& index, int count) {
        for (int i = 0; i < index.getNum(); ++i) {
            if (index[i] < -1 || index[i] >= count) {
                Fail(VrmlReason(VrmlText::IndexOutside, NodeName(node), name, index[i],
                                std::max(count, 0)));
                return false;
            }
        }
        return true;
    }

    // A property list (normals, colours, texture coordinates) bound per vertex or per face, by
    // its own index or without one (then per vertex through the coordinate index, per face in
    // face order).
    void CheckBinding(const SoNode& node, const char* name, const SoMFInt32& index, int count,
                      const SoMFInt32& coordIndex, int faces, bool perVertex) {
        if (count < 0 || !m_reason.empty()) {
            return;
        }
        if (index.getNum() == 0) {
            if (perVertex) {
                CheckIndexes(node, "coordIndex", coordIndex, count);
            } else if (faces > count) {
                Fail(VrmlReason(VrmlText::TooFewEntries, NodeName(node), name));
            }
            return;
        }
        if (!CheckIndexes(node, name, index, count)) {
            return;
        }
        const int needed = perVertex ? coordIndex.getNum() : faces;
        if (index.getNum() < needed) {
            Fail(VrmlReason(VrmlText::TooFewEntries, NodeName(node), name));
            return;
        }
        for (int i = 0; i < needed; ++i) {
            const bool ends = perVertex && coordIndex[i] == -1;
            if ((index[i] == -1) != ends) {
                Fail(VrmlReason(VrmlText::TooFewEntries, NodeName(node), name));
                return;
            }
        }
    }

    // Faces of a coordinate index: every -1 ends one, and an unterminated tail is one more.
    static int CountFaces(const SoMFInt32& coordIndex) {
        int faces = 0;
        bool open = false;
        for (int i = 0; i < coordIndex.getNum(); ++i) {
            if (coordIndex[i] == -1) {
                ++faces;
                open = false;
            } else {
                open = true;
            }
        }
        return open ? faces + 1 : faces;
    }

    // Triangles of the faces of a coordinate index: a face of n corners gives n - 2.
    static uint64_t CountFaceTriangles(const SoMFInt32& coordIndex) {
        uint64_t triangles = 0;
        int corners = 0;
        for (int i = 0; i <= coordIndex.getNum(); ++i) {
            if (i == coordIndex.getNum() || coordIndex[i] == -1) {
                triangles += static_cast<uint64_t>(std::max(corners - 2, 0));
                corners = 0;
            } else {
                ++corners;
            }
        }
        return triangles;
    }

    uint64_t CheckFaceSet(SoVRMLIndexedFaceSet& set) {
        const int points = std::max(PropertyCount(set.coord.getValue()), 0);
        if (!CheckIndexes(set, "coordIndex", set.coordIndex, points)) {
            return 0;
        }
        const int faces = CountFaces(set.coordIndex);
        CheckBinding(set, "normalIndex", set.normalIndex, PropertyCount(set.normal.getValue()),
                     set.coordIndex, faces, set.normalPerVertex.getValue() != FALSE);
        CheckBinding(set, "colorIndex", set.colorIndex, PropertyCount(set.color.getValue()),
                     set.coordIndex, faces, set.colorPerVertex.getValue() != FALSE);
        CheckBinding(set, "texCoordIndex", set.texCoordIndex,
                     PropertyCount(set.texCoord.getValue()), set.coordIndex, faces, true);
        if (!m_reason.empty()) {
            return 0;
        }
        DropShortFaces(set);
        return CountFaceTriangles(set.coordIndex);
    }

    // Coin reads before its lists on a face of fewer than three corners (an empty face
    // included) that another face follows, and such a face has no surface: it is taken out of
    // the set, with its entries in the index lists. A property bound per face without an index
    // of its own gets one, so that every face that stays keeps its normal and colour.
    static void DropShortFaces(SoVRMLIndexedFaceSet& set) {
        const SoMFInt32& coordIndex = set.coordIndex;
        const int count = coordIndex.getNum();
        struct SFace {
            int start;
            int end; // one past the last corner, at the -1 or the list's end
        };
        std::vector<SFace> faces;
        bool hasShort = false;
        for (int start = 0; start < count;) {
            int end = start;
            while (end < count && coordIndex[end] != -1) {
                ++end;
            }
            faces.push_back({start, end});
            hasShort = hasShort || end - start < 3;
            start = end + 1;
        }
        if (!hasShort) {
            return;
        }
        // The lists given per vertex follow coordIndex; those given per face have one entry
        // for each face (CheckBinding made sure of both).
        struct SBinding {
            SoMFInt32& index;
            bool perVertex;
            bool present;
        };
        SBinding bindings[] = {
            {set.normalIndex, set.normalPerVertex.getValue() != FALSE,
             set.normal.getValue() != nullptr},
            {set.colorIndex, set.colorPerVertex.getValue() != FALSE,
             set.color.getValue() != nullptr},
            {set.texCoordIndex, true, set.texCoord.getValue() != nullptr},
        };
        std::vector<int32_t> keptCoords;
        std::vector<std::vector<int32_t>> kept(std::size(bindings));
        for (std::size_t f = 0; f < faces.size(); ++f) {
            const SFace& face = faces[f];
            if (face.end - face.start < 3) {
                continue;
            }
            const int last = std::min(face.end + 1, count); // with the -1 that ends it
            for (int i = face.start; i < last; ++i) {
                keptCoords.push_back(coordIndex[i]);
            }
            for (std::size_t b = 0; b < std::size(bindings); ++b) {
                const SBinding& binding = bindings[b];
                if (!binding.present) {
                    continue; // an index without its list is not used, and is emptied
                }
                if (binding.index.getNum() == 0) {
                    if (!binding.perVertex) {
                        kept[b].push_back(static_cast<int32_t>(f));
                    }
                } else if (binding.perVertex) {
                    for (int i = face.start; i < last; ++i) {
                        kept[b].push_back(binding.index[i]);
                    }
                } else {
                    kept[b].push_back(binding.index[static_cast<int>(f)]);
                }
            }
        }
        const auto assign = [](SoMFInt32& field, const std::vector<int32_t>& values) {
            field.setNum(static_cast<int>(values.size()));
            if (!values.empty()) {
                field.setValues(0, static_cast<int>(values.size()), values.data());
            }
        };
        for (std::size_t b = 0; b < std::size(bindings); ++b) {
            const SBinding& binding = bindings[b];
            if (binding.index.getNum() != 0 || (!binding.perVertex && binding.present)) {
                assign(binding.index, kept[b]);
            }
        }
        assign(set.coordIndex, keptCoords);
    }

    // Line sets draw nothing here, but Coin may still walk their lists.
    void CheckLineSet(const SoVRMLIndexedLineSet& set) {
        const int points = std::max(PropertyCount(set.coord.getValue()), 0);
        if (!CheckIndexes(set, "coordIndex", set.coordIndex, points)) {
            return;
        }
        CheckBinding(set, "colorIndex", set.colorIndex, PropertyCount(set.color.getValue()),
                     set.coordIndex, CountFaces(set.coordIndex),
                     set.colorPerVertex.getValue() != FALSE);
    }

    uint64_t CheckGrid(const SoVRMLElevationGrid& grid) {
        const int64_t columns = grid.xDimension.getValue();
        const int64_t rows = grid.zDimension.getValue();
        if (columns < 0 || rows < 0 || columns * rows > MaxGridPoints) {
            Fail(VrmlReason(VrmlText::OutOfRange, NodeName(grid), "xDimension, zDimension"));
            return 0;
        }
        const int64_t points = columns * rows;
        const int64_t quads = std::max<int64_t>(columns - 1, 0) * std::max<int64_t>(rows - 1, 0);
        if (grid.height.getNum() < points) {
            Fail(VrmlReason(VrmlText::TooFewEntries, NodeName(grid), "height"));
            return 0;
        }
        const struct {
            const char* name;
            int count;
            bool perVertex;
        } properties[] = {
            {"normal", PropertyCount(grid.normal.getValue()), grid.normalPerVertex.getValue() != 0},
            {"color", PropertyCount(grid.color.getValue()), grid.colorPerVertex.getValue() != 0},
            {"texCoord", PropertyCount(grid.texCoord.getValue()), true},
        };
        for (const auto& property : properties) {
            if (property.count >= 0 && property.count < (property.perVertex ? points : quads)) {
                Fail(VrmlReason(VrmlText::TooFewEntries, NodeName(grid), property.name));
                return 0;
            }
        }
        return 2 * static_cast<uint64_t>(quads);
    }

    // Scale and orientation give one value for the whole spine or one per spine point.
    // Two triangles between each two neighbours of the cross section along the spine, and
    // caps of fewer triangles than the cross section has points.
    uint64_t CheckExtrusion(const SoVRMLExtrusion& extrusion) {
        const int spine = extrusion.spine.getNum();
        const int scales = extrusion.scale.getNum();
        const int orientations = extrusion.orientation.getNum();
        if ((scales != 1 && scales < spine) || scales == 0) {
            Fail(VrmlReason(VrmlText::TooFewEntries, NodeName(extrusion), "scale"));
        } else if ((orientations != 1 && orientations < spine) || orientations == 0) {
            Fail(VrmlReason(VrmlText::TooFewEntries, NodeName(extrusion), "orientation"));
        }
        const auto cross = static_cast<uint64_t>(extrusion.crossSection.getNum());
        const auto segments = static_cast<uint64_t>(std::max(spine - 1, 0));
        return 2 * segments * (cross > 0 ? cross - 1 : 0) + 2 * cross;
    }

    // The triangles that Coin makes of the other surface nodes (at its default complexity,
    // which a VRML97 world cannot change), and a bound for the glyphs of a text.
    static uint64_t PrimitiveTriangles(const SoNode& node) {
        if (node.isOfType(SoVRMLBox::getClassTypeId())) {
            return 12;
        }
        if (node.isOfType(SoVRMLCone::getClassTypeId())) {
            return ConeTriangles;
        }
        if (node.isOfType(SoVRMLCylinder::getClassTypeId())) {
            return CylinderTriangles;
        }
        if (node.isOfType(SoVRMLSphere::getClassTypeId())) {
            return SphereTriangles;
        }
        if (node.isOfType(SoVRMLText::getClassTypeId())) {
            const SoMFString& lines = static_cast<const SoVRMLText&>(node).string;
            uint64_t characters = 0;
            for (int i = 0; i < lines.getNum(); ++i) {
                characters += static_cast<uint64_t>(lines[i].getLength());
            }
            return characters * GlyphTriangles;
        }
        return 0;
    }

    void Fail(std::string reason) {
        if (m_reason.empty()) {
            m_reason = std::move(reason);
        }
    }

    std::unordered_map<const SoNode*, uint64_t> m_triangles; // checked, with their triangles
    std::unordered_set<const SoNode*> m_path; // from the root to the node being checked
    std::string m_reason;
};

// Points farther from the origin than this (in any coordinate, in the world's units: for the
// slide model a kilometre) refuse the world: no model is that large, and products of such
// coordinates overflow the floats in which Coin and the drawing work.
constexpr float MaxCoordinate = 1.0e6f;

bool IsInRange(const SbVec3f& v) {
    return std::fabs(v[0]) <= MaxCoordinate && std::fabs(v[1]) <= MaxCoordinate &&
           std::fabs(v[2]) <= MaxCoordinate; // false for NaN, too
}

// Makes v unit length; false (v unchanged) when it is not finite or has no length. The length
// is taken in double, where the squares of any floats neither overflow nor vanish.
bool MakeUnit(SbVec3f& v) {
    const double x = v[0];
    const double y = v[1];
    const double z = v[2];
    const double length = std::sqrt(x * x + y * y + z * z);
    if (!std::isfinite(length) || length == 0.0) {
        return false;
    }
    v.setValue(static_cast<float>(x / length), static_cast<float>(y / length),
               static_cast<float>(z / length));
    return true;
}

// Collects the triangles of the surface nodes in world space.
class CTriangleCollector {
public:
    explicit CTriangleCollector(std::vector<SVrmlVertex>& vertices) : m_vertices(vertices) {}

    void Apply(SoNode* root) {
        SoCallbackAction action;
        // Only surfaces: line and point sets, and every node that is no geometry, produce
        // nothing, so that their lists are never walked.
        const SoType surfaces[] = {
            SoVRMLBox::getClassTypeId(),       SoVRMLCone::getClassTypeId(),
            SoVRMLCylinder::getClassTypeId(),  SoVRMLElevationGrid::getClassTypeId(),
            SoVRMLExtrusion::getClassTypeId(), SoVRMLIndexedFaceSet::getClassTypeId(),
            SoVRMLSphere::getClassTypeId(),    SoVRMLText::getClassTypeId(),
        };
        for (const SoType& type : surfaces) {
            action.addTriangleCallback(type, &OnTriangle, this);
        }
        // The count before collecting is what Coin should give; should it give more, the
        // traversal ends at the limit all the same.
        action.addPreCallback(SoNode::getClassTypeId(), &OnNode, this);
        action.apply(root);
    }

    bool HasTexCoords() const { return m_hasTexCoords; }
    bool HasOutOfRange() const { return m_outOfRange; }
    bool HasTooMany() const { return m_tooMany; }

private:
    static void OnTriangle(void* data, SoCallbackAction* action, const SoPrimitiveVertex* a,
                           const SoPrimitiveVertex* b, const SoPrimitiveVertex* c) {
        auto* self = static_cast<CTriangleCollector*>(data);
        if (self->m_vertices.size() >= 3 * MaxVrmlTriangles) {
            self->m_tooMany = true;
        } else {
            self->Add(*action, {a, b, c});
        }
    }

    static SoCallbackAction::Response OnNode(void* data, SoCallbackAction*, const SoNode*) {
        return static_cast<CTriangleCollector*>(data)->m_tooMany ? SoCallbackAction::ABORT
                                                                 : SoCallbackAction::CONTINUE;
    }

    void Add(SoCallbackAction& action, const std::array<const SoPrimitiveVertex*, 3>& corners) {
        const SbMatrix& model = action.getModelMatrix();
        const SbMatrix normalMatrix = model.inverse().transpose();
        std::array<SbVec3f, 3> points;
        std::array<SbVec3f, 3> normals;
        for (std::size_t i = 0; i < 3; ++i) {
            model.multVecMatrix(corners[i]->getPoint(), points[i]);
            normalMatrix.multDirMatrix(corners[i]->getNormal(), normals[i]);
            if (!IsInRange(points[i])) {
                m_outOfRange = true;
                return;
            }
        }
        SbVec3f face = (points[1] - points[0]).cross(points[2] - points[0]);
        if (!MakeUnit(face)) {
            return; // no area: nothing to draw
        }
        // The normals that Coin gives (or that the file gives) mark the front side; mirroring
        // transforms and clockwise faces are turned so that the front is counter-clockwise.
        SbVec3f normalSum(0.0f, 0.0f, 0.0f);
        for (SbVec3f& normal : normals) {
            if (!MakeUnit(normal)) {
                normal = face;
            }
            normalSum += normal;
        }
        std::array<std::size_t, 3> order{0, 1, 2};
        if (face.dot(normalSum) < 0.0f) {
            order = {0, 2, 1};
        }
        if (const SoNode* shape = action.getCurPathTail();
            shape != nullptr && NodeField(*shape, "texCoord") != nullptr) {
            m_hasTexCoords = true;
        }
        for (std::size_t i : order) {
            SVrmlVertex vertex;
            vertex.point = {points[i][0], points[i][1], points[i][2]};
            vertex.normal = {normals[i][0], normals[i][1], normals[i][2]};
            const SbVec4f& texCoord = corners[i]->getTextureCoords();
            vertex.texCoord = {texCoord[0], texCoord[1]};
            m_vertices.push_back(vertex);
        }
    }

    std::vector<SVrmlVertex>& m_vertices;
    bool m_hasTexCoords = false;
    bool m_outOfRange = false;
    bool m_tooMany = false;
};

// A world compressed with gzip, which VRML97 allows and Coin reads, begins with these bytes.
bool IsGzip(std::string_view data) {
    return data.size() >= 2 && data[0] == '\x1f' && data[1] == '\x8b';
}

// The text of a gzip-compressed world (all its members, as gzip unpacks them) into text, at
// most as long as a world's file may be; the reason when it cannot be unpacked, is longer, or is
// compressed once more.
std::string NotUnpacked() {
    return VrmlReason(VrmlText::NotUnpacked, std::to_string(kMaxTextFileBytes));
}

std::string Gunzip(std::string_view packed, std::string& text) {
    z_stream stream{};
    if (inflateInit2(&stream, 16 + MAX_WBITS) != Z_OK) {
        return NotUnpacked();
    }
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(packed.data()));
    std::string reason;
    std::size_t left = packed.size();
    char buffer[1 << 16];
    for (;;) {
        const auto chunk = static_cast<uInt>(std::min<std::size_t>(left, 1u << 30));
        stream.avail_in = chunk;
        stream.next_out = reinterpret_cast<Bytef*>(buffer);
        stream.avail_out = sizeof buffer;
        const int status = inflate(&stream, Z_NO_FLUSH);
        left -= chunk - stream.avail_in;
        text.append(buffer, sizeof buffer - stream.avail_out);
        if (static_cast<int64_t>(text.size()) > kMaxTextFileBytes) {
            reason = NotUnpacked();
            break;
        }
        if (status == Z_STREAM_END) {
            if (left == 0) {
                break;
            }
            inflateReset(&stream); // the next member
        } else if (status != Z_OK && status != Z_BUF_ERROR) {
            reason = NotUnpacked();
            break;
        } else if (left == 0 && stream.avail_out != 0) {
            reason = NotUnpacked(); // cut off: all input taken, and no end
            break;
        }
    }
    inflateEnd(&stream);
    if (reason.empty() && IsGzip(text)) {
        reason = NotUnpacked(); // compressed more than once
    }
    return reason;
}

// The longest time that reading one model may take.
constexpr std::chrono::milliseconds ReadTimeLimit{20000};

// What the reading process hands back: a status byte (1 read, 0 refused), then for a refusal the
// reason's bytes, for a read world the texture-coordinate flag and the vertices as they lie in
// memory (the same program on both ends of the pipe).
std::string SerializeFailure(const std::string& reason) {
    return '\0' + reason;
}

void AppendBytes(std::string& out, const void* data, std::size_t size) {
    out.append(static_cast<const char*>(data), size);
}

} // namespace

std::string CVrmlScene::Serialize(const CVrmlScene& scene) {
    std::string out(1, '\1');
    out.push_back(scene.m_hasTexCoords ? '\1' : '\0');
    AppendBytes(out, scene.m_vertices.data(), scene.m_vertices.size() * sizeof(SVrmlVertex));
    return out;
}

bool CVrmlScene::Deserialize(const std::string& in, std::vector<SVrmlVertex>& vertices,
                             bool& hasTexCoords, std::string& reason) {
    if (!in.empty() && in[0] == '\0') {
        reason = in.substr(1);
        return false;
    }
    const std::size_t payload = in.size() >= 2 ? in.size() - 2 : 0;
    if (in.size() < 2 || in[0] != '\1' || payload % (3 * sizeof(SVrmlVertex)) != 0) {
        reason = VrmlReason(VrmlText::NotRead);
        return false;
    }
    hasTexCoords = in[1] != '\0';
    vertices.resize(payload / sizeof(SVrmlVertex));
    if (payload != 0) { // an empty vector's data may be null, even for no bytes
        std::memcpy(vertices.data(), in.data() + 2, payload);
    }
    return true;
}

std::unique_ptr<CVrmlScene> CVrmlScene::Read(const std::string& path, std::string& reason) {
    File file;
    if (!file.Open(path, File::Mode::Read)) {
        reason = file.LastError();
        return nullptr;
    }
    std::string text;
    if (!file.ReadAll(text, kMaxTextFileBytes)) {
        reason = file.LastError(); // also a model too large for the limit or for memory
        return nullptr;
    }
    return ReadText(text, reason);
}

std::unique_ptr<CVrmlScene> CVrmlScene::Parse(std::string_view file, std::string& reason) {
    // Coin would unpack a compressed world itself, past the checks of the text below: it is
    // unpacked here first, and Coin reads the text.
    std::string unpacked;
    if (IsGzip(file)) {
        reason = Gunzip(file, unpacked);
        if (!reason.empty()) {
            return nullptr;
        }
    }
    const std::string_view text = IsGzip(file) ? std::string_view(unpacked) : file;
    // What Coin's reader would not survive or would take from an earlier reading; every other
    // check follows reading.
    reason = FindDefinitionFault(text);
    if (!reason.empty()) {
        return nullptr;
    }
    InitCoin();
    SoSeparator* root = nullptr;
    bool isVrml97 = false;
    std::string worldReason;
    {
        CReadErrorCapture errors;
        CSingleFileInput input;
        input.setBuffer(text.data(), text.size());
        isVrml97 = input.isFileVRML2() != FALSE;
        if (isVrml97) {
            root = ReadWorld(input, worldReason);
        }
        // Coin goes on after some errors with values of its own; such a world is refused.
        if (errors.HasError() || !input.GetOtherFile().empty()) {
            CNodeRef discard(root);
            reason = errors.HasError() ? VrmlReason(VrmlText::ReaderFailed, errors.GetFirst())
                                       : input.GetOtherFile();
            return nullptr;
        }
    }
    if (!isVrml97) {
        reason = VrmlReason(VrmlText::NotVrml97);
        return nullptr;
    }
    if (root == nullptr) {
        reason = !worldReason.empty() ? worldReason : VrmlReason(VrmlText::NotRead);
        return nullptr;
    }
    CNodeRef hold(root);
    reason = CSceneCheck().Check(root);
    if (!reason.empty()) {
        return nullptr;
    }
    std::unique_ptr<CVrmlScene> scene(new CVrmlScene());
    CTriangleCollector collector(scene->m_vertices);
    collector.Apply(root);
    if (collector.HasOutOfRange()) {
        reason =
            VrmlReason(VrmlText::FarCoordinates, std::to_string(static_cast<int>(MaxCoordinate)));
        return nullptr;
    }
    if (collector.HasTooMany()) {
        reason = TooManyTriangles();
        return nullptr;
    }
    scene->m_hasTexCoords = collector.HasTexCoords();
    return scene;
}

std::unique_ptr<CVrmlScene> CVrmlScene::ReadText(std::string_view text, std::string& reason) {
    std::string output;
    SChildFailure failure;
    const auto parse = [text] {
        std::string reason;
        const std::unique_ptr<CVrmlScene> scene = Parse(text, reason);
        return scene != nullptr ? Serialize(*scene) : SerializeFailure(reason);
    };
    if (!RunInChildProcess(parse, ReadTimeLimit, output, failure)) {
        reason = failure.kind == SChildFailure::Kind::TimeLimit
                     ? VrmlReason(VrmlText::NoResultInTime,
                                  static_cast<int>(ReadTimeLimit.count() / 1000))
                     : VrmlReason(VrmlText::ReaderFailed, failure.detail);
        return nullptr;
    }
    std::unique_ptr<CVrmlScene> scene(new CVrmlScene());
    if (!Deserialize(output, scene->m_vertices, scene->m_hasTexCoords, reason)) {
        return nullptr;
    }
    scene->MeasureBounds();
    return scene;
}

std::unique_ptr<CVrmlScene> CVrmlScene::ReadTextInProcess(std::string_view text,
                                                          std::string& reason) {
    std::unique_ptr<CVrmlScene> scene = Parse(text, reason);
    if (scene != nullptr) {
        scene->MeasureBounds();
    }
    return scene;
}

void CVrmlScene::MeasureBounds() {
    if (!m_vertices.empty()) {
        m_bounds.Reset();
        for (const SVrmlVertex& vertex : m_vertices) {
            m_bounds.Extend({vertex.point[0], vertex.point[1], vertex.point[2]});
        }
    }
}
