// The slide model: the model in data/ read through Coin, damaged worlds refused without a
// crash, the passes of the slide element, its colour and the GL state it leaves, the report of
// a model that cannot be read, and a picture of the slide for the eye.
#include <algorithm>
#include <array>
#include <cmath>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include <GL/gl.h>
#include <GL/glu.h>
#include <zlib.h>

#include "app/render/ChildProcess.h"
#include "app/render/MergedScene.h"
#include "app/render/MeshCache.h"
#include "app/render/VrmlViewer.h"
#include "model/ZarnelDcmt.h"
#include "support/File.h"
#include "support/SettingsStore.h"
#include "tests/app/render/DrawTestKit.h"
#include "tests/harness/GlTestContext.h"
#include "tests/harness/RecordingUserInterface.h"
#include "tests/harness/TempFolder.h"

namespace {

const std::string DataDir = ZARNEL_DATA_DIR;

// The extent that data/rutsche10.wrl states (mm).
constexpr CBox3 ModelBounds(170.0, -790.0, 230.0, -230.0, 1250.0, -40.0);

void ExpectBox(const CBox3& actual, const CBox3& expected, double tolerance) {
    EXPECT_NEAR(actual.maxY, expected.maxY, tolerance);
    EXPECT_NEAR(actual.minY, expected.minY, tolerance);
    EXPECT_NEAR(actual.maxX, expected.maxX, tolerance);
    EXPECT_NEAR(actual.minX, expected.minX, tolerance);
    EXPECT_NEAR(actual.maxZ, expected.maxZ, tolerance);
    EXPECT_NEAR(actual.minZ, expected.minZ, tolerance);
}

CVector3 Point(const SVrmlVertex& vertex) {
    return {vertex.point[0], vertex.point[1], vertex.point[2]};
}

// Every triangle is counter-clockwise seen from the side its unit normals point to.
void ExpectFrontsAgreeWithNormals(const CVrmlScene& scene) {
    const auto& vertices = scene.GetVertices();
    for (std::size_t i = 0; i + 2 < vertices.size(); i += 3) {
        const CVector3 a = Point(vertices[i]);
        const CVector3 face = CVector3::Cross(CVector3::Sub(Point(vertices[i + 1]), a),
                                              CVector3::Sub(Point(vertices[i + 2]), a));
        for (std::size_t k = i; k < i + 3; ++k) {
            const CVector3 normal(vertices[k].normal[0], vertices[k].normal[1],
                                  vertices[k].normal[2]);
            ASSERT_NEAR(normal.Length(), 1.0, 1e-4) << "vertex " << k;
            ASSERT_GT(CVector3::Dot(face, normal), 0.0) << "triangle " << i / 3;
        }
    }
}

void SetVrmlFolder(const std::string* folder) {
    SettingsStore user(SettingsRoot::CurrentUser, SettingsStore::Access::Write);
    if (folder == nullptr) {
        user.DeleteValue(VrmlSettingsKey, VrmlSettingsValue);
    } else {
        ASSERT_TRUE(
            user.WriteValue(VrmlSettingsKey, VrmlSettingsValue, SettingValue::String(*folder)));
    }
}

class VrmlViewerTest : public GlTest {
protected:
    void SetUp() override {
        GlTest::SetUp();
        SetVrmlFolder(&DataDir);
        m_slide = MakeElmnt(m_ids, ElmntKind::SlideNew, 0.0f, {100.0, 50.0, -200.0});
        m_view.vrmlViewer = &m_viewer;
    }

    // Output of the element in a feedback pass.
    std::vector<SFeedbackToken> Feedback(RndrMode mode, DrawFlags flags = DrawFlags::None,
                                         const SDrawView* view = nullptr) {
        return CaptureFeedback([&] {
            DrawElmnt(*m_slide, CRndrPass(mode, &m_quality), m_materials, 1, ToolMode::Select,
                      flags, view != nullptr ? view : &m_view);
        });
    }

    // Draws the slide in pass 0 into the picture scene with the shading given.
    void DrawPicture(int shading) {
        SRndrQultValues values = SRndrQultValues::ProfileDefaults();
        values.shading = shading;
        m_quality.SetValues(values);
        SetPictureScene(1400.0);
        DrawElmnt(*m_slide, CRndrPass(RndrMode::Draw, &m_quality), m_materials, 1, ToolMode::Select,
                  DrawFlags::None, &m_view);
        ExpectNoGlError("drawing the slide");
    }

    CElmntIdSource m_ids;
    std::unique_ptr<CElmnt> m_slide;
    std::unique_ptr<CMtrl> m_material = CMtrl::CreateDefault(4);
    std::vector<const CMtrl*> m_materials{nullptr, nullptr, nullptr, nullptr, m_material.get()};
    CRndrQult m_quality;
    CDrawProbe m_probe;
    CVrmlViewer m_viewer;
    SDrawView m_view;
};

// The bytes as gzip packs them.
std::string Gzip(const std::string& bytes) {
    z_stream stream{};
    EXPECT_EQ(deflateInit2(&stream, Z_BEST_COMPRESSION, Z_DEFLATED, 16 + MAX_WBITS, 8,
                           Z_DEFAULT_STRATEGY),
              Z_OK);
    std::string packed(deflateBound(&stream, bytes.size()), '\0');
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.data()));
    stream.avail_in = static_cast<uInt>(bytes.size());
    stream.next_out = reinterpret_cast<Bytef*>(packed.data());
    stream.avail_out = static_cast<uInt>(packed.size());
    EXPECT_EQ(deflate(&stream, Z_FINISH), Z_STREAM_END);
    packed.resize(stream.total_out);
    deflateEnd(&stream);
    return packed;
}

// Extent of all polygon vertices of a feedback.
CBox3 PolygonBounds(const std::vector<SFeedbackToken>& tokens) {
    CBox3 box;
    box.Reset();
    for (const SFeedbackToken& token : tokens) {
        if (token.type == GL_POLYGON_TOKEN) {
            for (const CVector3& v : token.vertices) {
                box.Extend(v);
            }
        }
    }
    return box;
}

} // namespace

TEST(VrmlScene, ReadsTheSlideModelOfTheDataFolder) {
    std::string reason;
    const auto scene = CVrmlScene::Read(VrmlModelPath(DataDir), reason);
    ASSERT_NE(scene, nullptr) << reason;
    // Bed 3 quads, walls and rails 12 quads, the lip a box: 42 triangles, none of the file's
    // background, light or viewpoint.
    EXPECT_EQ(scene->GetTriangleCount(), 42u);
    ExpectBox(scene->GetBounds(), ModelBounds, 0.01);
    EXPECT_FALSE(scene->HasTexCoords());
    ExpectFrontsAgreeWithNormals(*scene);
    // Backslashes of a folder written the Windows way become slashes.
    EXPECT_EQ(VrmlModelPath("C:\\Programme\\Zarnel"), "C:/Programme/Zarnel/rutsche10.wrl");
}

TEST(VrmlScene, MirroredClockwiseTexturedAndPrototypedWorldsKeepTheirFronts) {
    const std::string world = "#VRML V2.0 utf8\n"
                              "PROTO Cube [ field SFVec3f size 1 1 1 ] {\n"
                              "  Shape { geometry Box { size IS size } } }\n"
                              "Transform { scale -1 1 1 children [\n"
                              "  Shape { geometry IndexedFaceSet { ccw FALSE\n"
                              "    coord Coordinate { point [0 0 0, 0 10 0, 10 0 0] }\n"
                              "    coordIndex [0 1 2]\n"
                              "    texCoord TextureCoordinate { point [0 0, 0 1, 1 0] } } }\n"
                              "  Cube { size 10 10 10 } ] }\n";
    std::string reason;
    const auto scene = CVrmlScene::ReadText(world, reason);
    ASSERT_NE(scene, nullptr) << reason;
    EXPECT_EQ(scene->GetTriangleCount(), 13u);
    EXPECT_TRUE(scene->HasTexCoords());
    ExpectFrontsAgreeWithNormals(*scene);
    ExpectBox(scene->GetBounds(), CBox3(10.0, -5.0, 5.0, -10.0, 5.0, -5.0), 0.01);
}

TEST(VrmlScene, ReadsDeepNestingMultiNodePrototypesShortFacesAndCompressedWorlds) {
    const std::string header = "#VRML V2.0 utf8\n";
    const auto nest = [](const std::string& node, int levels, const std::string& inside) {
        std::string text;
        for (int level = 0; level < levels; ++level) {
            text += node + " { children [\n";
        }
        text += inside;
        for (int level = 0; level < levels; ++level) {
            text += "] }\n";
        }
        return text;
    };
    const std::string triangle = "Shape { geometry IndexedFaceSet { coord Coordinate { point "
                                 "[0 0 0, 1 0 0, 0 1 0] } coordIndex [0 1 2] } }\n";
    std::string strip = "Shape { geometry IndexedFaceSet { coord Coordinate { point [";
    for (int i = 0; i < 1002; ++i) {
        strip += std::to_string(i) + " " + std::to_string(i % 2) + " 0,";
    }
    strip += "] } coordIndex [";
    for (int i = 0; i < 1000; ++i) {
        strip +=
            std::to_string(i) + " " + std::to_string(i + 1) + " " + std::to_string(i + 2) + " -1 ";
    }
    strip += "] } }\n";
    // Faces of two, one and no corners between the triangles; per-face normals without an
    // index of their own: the triangles keep the normals of their place, +z and -z.
    const std::string shortFaces =
        "Shape { geometry IndexedFaceSet { coord Coordinate { point [0 0 0, 1 0 0, 0 1 0] }\n"
        "  coordIndex [0 1 -1 0 1 2 -1 2 -1 -1 2 1 0] normalPerVertex FALSE\n"
        "  normal Normal { vector [1 0 0, 0 0 1, 0 1 0, 1 0 0, 0 0 -1] }\n"
        "  texCoord TextureCoordinate { point [0 0, 1 0, 0 1] }\n"
        "  texCoordIndex [0 1 -1 0 1 2 -1 2 -1 -1 2 1 0] } }\n";
    const struct {
        const char* what;
        std::string text;
        std::size_t triangles;
    } rows[] = {
        {"a triangle in 20 groups", header + nest("Group", 20, triangle), 1},
        {"a strip of 1000 triangles in 10 transforms", header + nest("Transform", 10, strip), 1000},
        {"each use of a definition",
         header + "DEF T Transform { children " + triangle + " }\n" +
             nest("Group", 12, "USE T USE T Shape { geometry Box { } }"),
         3 + 12},
        {"a PROTO of a transform and a script",
         header +
             "PROTO Part [ field SFVec3f at 0 0 0 ] {\n"
             "  Transform { translation IS at children " +
             triangle + " }\n  Script { }\n}\n" + nest("Group", 12, "Part { } Part { }"),
         2},
        {"short faces", header + shortFaces, 2},
        {"compressed", Gzip(header + nest("Group", 12, triangle)), 1},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        std::string reason;
        const auto scene = CVrmlScene::ReadText(row.text, reason);
        EXPECT_EQ(scene != nullptr ? scene->GetTriangleCount() : 0, row.triangles) << reason;
    }
    std::string reason;
    const auto scene = CVrmlScene::ReadTextInProcess(header + shortFaces, reason);
    ASSERT_NE(scene, nullptr) << reason;
    ASSERT_EQ(scene->GetVertices().size(), 6u);
    EXPECT_EQ(scene->GetVertices()[0].normal, (std::array<float, 3>{0.0f, 0.0f, 1.0f}));
    EXPECT_EQ(scene->GetVertices()[3].normal, (std::array<float, 3>{0.0f, 0.0f, -1.0f}));
    EXPECT_TRUE(scene->HasTexCoords());
}

TEST(VrmlScene, RefusesDamagedWorldsWithAReason) {
    const std::string header = "#VRML V2.0 utf8\n";
    const std::string face = "Shape { geometry IndexedFaceSet { coord Coordinate { point [0 0 0, "
                             "1 0 0, 0 1 0] } ";
    const std::string model = DataDir + "/rutsche10.wrl";
    // Each level uses the one before ten times: some 13 million triangles from 600 bytes.
    std::string uses = header + "DEF L0 Shape { geometry Box { } }\n";
    // Each PROTO instantiates the one before ten times: over a million nodes while reading.
    std::string instances = header + "PROTO P0 [ ] { Group { children [ Box { } Box { } ] } }\n";
    for (int level = 1; level <= 6; ++level) {
        const std::string name = std::to_string(level);
        const std::string before = std::to_string(level - 1);
        uses += "DEF L" + name + " Group { children [";
        instances += "PROTO P" + name + " [ ] { Group { children [";
        for (int i = 0; i < 10; ++i) {
            uses += " USE L" + before;
            instances += " P" + before + " { }";
        }
        uses += " ] }\n";
        instances += " ] } }\n";
    }
    const struct {
        const char* what;
        std::string text;
        const char* says; // part of the reason
    } rows[] = {
        {"empty", "", "VRML97"},
        {"no VRML97 header", "#Inventor V2.1 ascii\nSeparator { Cube {} }\n", "VRML97"},
        {"cut off", header + face + "coordIndex [0 1", "line"},
        {"unknown node", header + "Rutsche { }\n", "Rutsche"},
        {"number out of range", header + "Transform { translation 1e39 0 0 }\n", "line"},
        {"coordIndex beyond the points", header + face + "coordIndex [0 1 99999] } }\n",
         "coordIndex 99999"},
        {"indexes without points",
         header + "Shape { geometry IndexedFaceSet { coordIndex [0 1 2] } }\n", "coordIndex 0"},
        {"normalIndex beyond the normals",
         header + face +
             "coordIndex [0 1 2] normal Normal { vector [0 0 1] } "
             "normalIndex [0 0 5] } }\n",
         "normalIndex 5"},
        {"per-face colours too few",
         header + face +
             "coordIndex [0 1 2 -1 2 1 0] colorPerVertex FALSE "
             "color Color { color [1 0 0] } } }\n",
         "colorIndex hat zu wenige Einträge"},
        {"normals as coordinates",
         header + "Shape { geometry IndexedFaceSet { coord Normal { vector [0 0 1] } } }\n",
         "im Feld coord"},
        {"Inventor node inside", header + "Separator { Cube {} }\n", "ist weder ein VRML97-Knoten"},
        {"grid without heights",
         header + "Shape { geometry ElevationGrid { xDimension 100 zDimension 100 } }\n",
         "height hat zu wenige Einträge"},
        {"extrusion short of scales",
         header + "Shape { geometry Extrusion { spine [0 0 0, 0 1 0, 0 2 0] scale [1 1, 2 2] } }\n",
         "scale"},
        {"line set beyond its points",
         header + "Shape { geometry IndexedLineSet { coord Coordinate { point [0 0 0] } "
                  "coordIndex [0 7] } }\n",
         "coordIndex 7"},
        {"another file", header + "File { name \"" + model + "\" }\n",
         "File ist weder ein VRML97-Knoten"},
        {"inline world", header + "Inline { url \"" + model + "\" }\n", "einzige Datei"},
        {"node inside itself", header + "DEF Loop Transform { children USE Loop }\n",
         "in sich selbst verwendet"},
        // Coin's own reader crashes on these: the node being read is used inside itself (after
        // a comment that swallows the closing braces, or in a field of its own).
        {"reader crash",
         header + "DEF T Transform { children Shape { geometry IndexedFaceSet {\n"
                  "texCoord TextureCoordinate { point [0 0] } texCoord# } } }\n"
                  "Transform { children USE T }\n",
         "T wird in sich selbst verwendet"},
        {"node used in its own field",
         header + "DEF T Transform { children Shape { geometry IndexedFaceSet {\n"
                  "coord Coordinate { point [0 0 0, 1 0 0, 0 1 0] } coordIndex [0 1 2]\n"
                  "color USE T } } }\n",
         "T wird in sich selbst verwendet"},
        {"coordinates beyond floats",
         header + "Transform { scale 1e30 1e30 1e30 children Transform { scale 1e30 1e30 1e30 "
                  "children Shape { geometry Box {} } } }\n",
         "vom Ursprung"},
        // Finite, but their products overflow the floats: the normals would have no length.
        // Coin itself reports this once per process only.
        {"text after the world", header + "Group { }\n}\n", "Text nach dem Ende"},
        {"nested uses", uses, "mehr als 2000000 Dreiecke"},
        {"nested instances", instances, "mehr als 200000 Knoten"},
        // Coin's reader crashes on these.
        {"PROTO instantiating itself", header + "PROTO A [ ] { A { } } A { }\n",
         "A wird in sich selbst verwendet"},
        {"PROTO instantiating itself through another",
         header + "PROTO A [ ] { PROTO B [ ] { Group { children A { } } } B { } } A { }\n",
         "A wird in sich selbst verwendet"},
        {"PROTO used before its definition",
         header + "Shape { geometry Cube { } }\nPROTO Cube [ ] { Box { } }\n",
         "Cube ist weder ein VRML97-Knoten noch ein zuvor definierter PROTO"},
        // Coin unpacks compressed worlds itself, past the checks of the text.
        {"compressed PROTO instantiating itself", Gzip(header + "PROTO A [ ] { A { } } A { }\n"),
         "A wird in sich selbst verwendet"},
        {"compressed twice", Gzip(Gzip(header + "Group { }\n")), "entpacken"},
        {"compressed and cut off", Gzip(header + "Group { }\n").substr(0, 20), "entpacken"},
        {"compressed and damaged", Gzip(header + "Group { }\n").replace(12, 4, "\xff\xff\xff\xff"),
         "entpacken"},
        {"coordinates beyond any model",
         header + "Shape { geometry IndexedFaceSet { coord Coordinate { point [1e14 0 0, "
                  "0 1e14 0, 0 0 1e14] } coordIndex [0 1 2] } }\n",
         "vom Ursprung"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        std::string reason;
        EXPECT_EQ(CVrmlScene::ReadText(row.text, reason), nullptr);
        EXPECT_NE(reason.find(row.says), std::string::npos) << reason;
    }
    std::string reason;
    EXPECT_EQ(CVrmlScene::Read(DataDir + "/no-such-model.wrl", reason), nullptr);
    EXPECT_FALSE(reason.empty());
}

TEST(VrmlScene, AChildThatCrashesIsAFailureNotTheEndOfTheProgram) {
    std::string output;
    SChildFailure failure;
    EXPECT_TRUE(RunInChildProcess([] { return std::string("result"); },
                                  std::chrono::milliseconds(20000), output, failure));
    EXPECT_EQ(output, "result");
    EXPECT_FALSE(RunInChildProcess([]() -> std::string { std::abort(); },
                                   std::chrono::milliseconds(20000), output, failure));
    EXPECT_EQ(failure.kind, SChildFailure::Kind::Signal);
    EXPECT_EQ(failure.detail, strsignal(SIGABRT));
}

TEST(VrmlScene, ReadingInProcessGivesTheSameAndLeavesNothingBehind) {
    std::string reason;
    const auto model = CVrmlScene::Read(VrmlModelPath(DataDir), reason);
    ASSERT_NE(model, nullptr) << reason;
    const std::string text = TempFolder::Read(VrmlModelPath(DataDir));
    const auto here = CVrmlScene::ReadTextInProcess(text, reason);
    ASSERT_NE(here, nullptr) << reason;
    ASSERT_EQ(here->GetTriangleCount(), model->GetTriangleCount());
    EXPECT_EQ(std::memcmp(here->GetVertices().data(), model->GetVertices().data(),
                          model->GetVertices().size() * sizeof(SVrmlVertex)),
              0);
    ExpectBox(here->GetBounds(), ModelBounds, 0.01);

    // Text after the world is refused every time, also after Coin's one report of it.
    for (int reading = 0; reading < 2; ++reading) {
        EXPECT_EQ(CVrmlScene::ReadTextInProcess("#VRML V2.0 utf8\nGroup { }\n}\n", reason),
                  nullptr);
        EXPECT_EQ(reason, "Text nach dem Ende der VRML97-Welt");
    }

    // A world without surfaces is read, empty, both ways.
    using ReadFunction = std::unique_ptr<CVrmlScene> (*)(std::string_view, std::string&);
    for (const ReadFunction read : {&CVrmlScene::ReadText, &CVrmlScene::ReadTextInProcess}) {
        const auto empty = read("#VRML V2.0 utf8\nGroup { }\n", reason);
        ASSERT_NE(empty, nullptr) << reason;
        EXPECT_EQ(empty->GetTriangleCount(), 0u);
        ExpectBox(empty->GetBounds(), CBox3(0, 0, 0, 0, 0, 0), 0.0);
    }
}

TEST(VrmlScene, TexturesChangeNothingAndEarlierReadingsLeaveNoDefinitions) {
    const auto world = [](const std::string& texture) {
        return "#VRML V2.0 utf8\n"
               "Shape { appearance Appearance { " +
               texture +
               " } geometry IndexedFaceSet { coord Coordinate { point [0 0 0, 2 0 0, 0 3 0] } "
               "coordIndex [0 1 2] } }\n"
               "Shape { geometry Sphere { } }\n";
    };
    std::string reason;
    const auto plain = CVrmlScene::ReadTextInProcess(world(""), reason);
    ASSERT_NE(plain, nullptr) << reason;
    const auto& expected = plain->GetVertices();
    for (const std::string& texture : std::vector<std::string>{
             "texture ImageTexture { url \"no-such-image.png\" }",
             "texture ImageTexture { url [\"http://example.invalid/a.png\", \"" + DataDir +
                 "/rutsche10.wrl\"] }",
             "texture PixelTexture { image 2 1 3 0xFF0000 0x00FF00 }",
             "texture MovieTexture { url \"no-such-movie.mpg\" }",
         }) {
        SCOPED_TRACE(texture);
        const auto textured = CVrmlScene::ReadTextInProcess(world(texture), reason);
        ASSERT_NE(textured, nullptr) << reason;
        const auto& vertices = textured->GetVertices();
        ASSERT_EQ(vertices.size(), expected.size());
        EXPECT_EQ(
            std::memcmp(vertices.data(), expected.data(), vertices.size() * sizeof(SVrmlVertex)),
            0);
    }

    // Coin keeps the PROTO of a reading that failed after it; the next reading does not see it.
    EXPECT_EQ(CVrmlScene::ReadTextInProcess(
                  "#VRML V2.0 utf8\nPROTO Cube [ ] { Box { } }\nShape { geometry Cube { } }\n"
                  "Shape { geometry Box { size 1 } }\n",
                  reason),
              nullptr);
    EXPECT_EQ(
        CVrmlScene::ReadTextInProcess("#VRML V2.0 utf8\nShape { geometry Cube { } }\n", reason),
        nullptr);
    EXPECT_NE(reason.find("Cube ist weder ein VRML97-Knoten"), std::string::npos) << reason;
}

TEST_F(VrmlViewerTest, PassesNameTheSlideAndEmitItsSurfacesAtItsPlacement) {
    const uint32_t id = m_slide->GetId().Value();
    const CVector3 at = m_slide->placement.translation;
    // Axis feedback: the name only, but the model is read already.
    EXPECT_EQ(Feedback(RndrMode::AxisFeedback).size(), 1u);
    ASSERT_NE(m_viewer.GetScene(), nullptr);
    const std::size_t triangles = m_viewer.GetScene()->GetTriangleCount();

    const auto surfaces = Feedback(RndrMode::SurfaceFeedback);
    EXPECT_EQ(PassThroughNames(surfaces), std::vector<uint32_t>{id});
    EXPECT_EQ(static_cast<std::size_t>(CountTokens(surfaces, GL_POLYGON_TOKEN)), triangles);
    const CBox3& b = ModelBounds;
    ExpectBox(PolygonBounds(surfaces),
              CBox3(b.maxY + at.y, b.minY + at.y, b.maxX + at.x, b.minX + at.x, b.maxZ + at.z,
                    b.minZ + at.z),
              1.0);
    // Explosion: 60 % about the element's origin after the shift (0, 160, -240).
    ExpectBox(PolygonBounds(Feedback(RndrMode::SurfaceFeedback, DrawFlags::Explosion)),
              CBox3(0.6 * (b.maxY + 160) + at.y, 0.6 * (b.minY + 160) + at.y, 0.6 * b.maxX + at.x,
                    0.6 * b.minX + at.x, 0.6 * (b.maxZ - 240) + at.z, 0.6 * (b.minZ - 240) + at.z),
              1.0);
    // Frame only, or a view without a viewer: the name and nothing else.
    EXPECT_EQ(Feedback(RndrMode::SurfaceFeedback, DrawFlags::WithoutPanels).size(), 1u);
    const SDrawView noViewer;
    EXPECT_EQ(Feedback(RndrMode::SurfaceFeedback, DrawFlags::None, &noViewer).size(), 1u);

    // Picking on the slope returns the slide itself; beside the slide nothing.
    EXPECT_EQ(m_probe.Select(*m_slide, ToolMode::Select, at.x, at.y - 400.0, 4.0, &m_view),
              (std::vector<std::vector<GLuint>>{{id}}));
    EXPECT_TRUE(
        m_probe.Select(*m_slide, ToolMode::Select, at.x + 600.0, at.y, 4.0, &m_view).empty());
    EXPECT_TRUE(TestUi().Boxes().empty());
}

TEST_F(VrmlViewerTest, DrawsInTheElementsMaterialAndLeavesTheRestOfTheStateAlone) {
    // What the view set before its elements: light 0 and the matrices, viewport and clear colour.
    glEnable(GL_LIGHT0);
    const auto state = [] {
        std::array<GLdouble, 16 + 16 + 4 + 4> values{};
        glGetDoublev(GL_MODELVIEW_MATRIX, values.data());
        glGetDoublev(GL_PROJECTION_MATRIX, values.data() + 16);
        glGetDoublev(GL_VIEWPORT, values.data() + 32);
        glGetDoublev(GL_COLOR_CLEAR_VALUE, values.data() + 36);
        std::vector<GLdouble> all(values.begin(), values.end());
        for (GLenum cap : {GL_LIGHT0, GL_LIGHT1, GL_FOG, GL_BLEND, GL_CULL_FACE, GL_TEXTURE_2D}) {
            all.push_back(glIsEnabled(cap));
        }
        GLint depth = 0;
        glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth);
        all.push_back(depth);
        return all;
    };

    // Unlit: every pixel of the slide has the material's plain colour, none the file's colours.
    const auto byte = [](GLfloat c) { return static_cast<uint8_t>(std::lround(c * 255.0f)); };
    const auto slidePixels = [&](std::array<GLfloat, 4>& colour) {
        glGetFloatv(GL_CURRENT_COLOR, colour.data());
        const int count = CountPixels(byte(colour[0]), byte(colour[1]), byte(colour[2]));
        EXPECT_EQ(count + CountPixels(255, 255, 255), 256 * 256);
        return count;
    };
    SetPictureScene(1400.0);
    const std::vector<GLdouble> before = state();
    DrawPicture(0);
    EXPECT_EQ(state(), before);
    std::array<GLfloat, 4> plain{};
    EXPECT_GT(slidePixels(plain), 2000);

    // The selected slide shows the selection variant of the material.
    m_slide->selected = true;
    DrawPicture(0);
    std::array<GLfloat, 4> selected{};
    EXPECT_GT(slidePixels(selected), 2000);
    EXPECT_NE(selected, plain);

    // Lit: the lights that the view set stay as they were.
    DrawPicture(2);
    EXPECT_EQ(state(), before);
}

TEST_F(VrmlViewerTest, AModelThatCannotBeReadIsReportedOnceAndDrawsNothing) {
    TempFolder empty;
    TempFolder damaged;
    damaged.Write(VrmlModelFile, "#VRML V2.0 utf8\nShape { geometry IndexedFaceSet { coord "
                                 "Coordinate { point [0 0 0] } coordIndex [0 0 4] } }\n");
    const std::string* noFolder = nullptr;

    // No setting: nothing drawn, nothing said.
    SetVrmlFolder(noFolder);
    EXPECT_EQ(Feedback(RndrMode::SurfaceFeedback).size(), 1u);
    EXPECT_TRUE(TestUi().Boxes().empty());

    // A folder without the model: one box however often the slide is drawn.
    SetVrmlFolder(&empty.Path());
    for (int frame = 0; frame < 3; ++frame) {
        EXPECT_EQ(Feedback(RndrMode::SurfaceFeedback).size(), 1u);
        DrawPicture(2);
    }
    ASSERT_EQ(TestUi().Boxes().size(), 1u);
    EXPECT_NE(TestUi().Boxes()[0].text.find("Rutschenmodell"), std::string::npos);
    EXPECT_NE(TestUi().Boxes()[0].text.find(VrmlModelPath(empty.Path())), std::string::npos);
    EXPECT_EQ(CountPixelsNotEqual(255, 255, 255), 0);

    // Another folder is tried at once; a damaged model there is reported with Coin's reason.
    SetVrmlFolder(&damaged.Path());
    EXPECT_EQ(Feedback(RndrMode::SurfaceFeedback).size(), 1u);
    ASSERT_EQ(TestUi().Boxes().size(), 2u);
    EXPECT_NE(TestUi().Boxes()[1].text.find("coordIndex 4"), std::string::npos);

    // The right folder draws the model.
    SetVrmlFolder(&DataDir);
    EXPECT_GT(CountTokens(Feedback(RndrMode::SurfaceFeedback), GL_POLYGON_TOKEN), 0);
    EXPECT_EQ(TestUi().Boxes().size(), 2u);
}

TEST_F(VrmlViewerTest, MergedPicturesShowTheSlideAsSoonAsTheModelIsFound) {
    CZarnelDcmt dcmt;
    const Revision r = dcmt.NewRevision();
    dcmt.AddElement(std::make_unique<CElmnt>(dcmt.GetIdSource(), r, ElmntKind::SlideNew, 4,
                                             CTransform({}, CVector3(0.0, 0.0, 0.0)), true, 0.0f,
                                             0.0f));
    m_quality.SetValues(SRndrQultValues::ProfileDefaults());
    CMergedScene merged;
    CMeshCache meshes;
    auto picture = [&] {
        SetPictureScene(1400.0);
        glEnable(GL_NORMALIZE);
        merged.Draw(dcmt, CRndrPass(RndrMode::Draw, &m_quality, &meshes), ToolMode::Select,
                    DrawFlags::None, &m_view);
        return CountPixelsNotEqual(255, 255, 255);
    };
    const std::string* noFolder = nullptr;
    SetVrmlFolder(noFolder);
    const int floorOnly = picture(); // a new document's floor grid
    // Nothing else changed, yet the next picture looks for the model again.
    SetVrmlFolder(&DataDir);
    EXPECT_GT(picture(), floorOnly + 1000);
    EXPECT_EQ(merged.GetRunsGathered(), 1u);
    EXPECT_GT(picture(), floorOnly + 1000);
    EXPECT_EQ(merged.GetRunsGathered(), 0u);
}

// Not a check but a picture to look at: build/tests/app/render/vrml-slide.png, the slide
// hanging at a platform tube, lit as the view lights its scene.
TEST(VrmlPicture, SlideAtAPlatformTube) {
    constexpr int Width = 640;
    constexpr int Height = 480;
    GlTestContext gl;
    std::string error;
    ASSERT_TRUE(gl.Create(Width, Height, error)) << error;
    SetVrmlFolder(&DataDir);
    CVrmlViewer viewer;
    SDrawView view;
    view.vrmlViewer = &viewer;
    CElmntIdSource ids;
    // In plastic red (slot 6), which is lit on both sides.
    const CElmnt slide(ids, 1, ElmntKind::SlideNew, 6, 0.0f, 0.0f);
    const auto tube = MakeElmnt(ids, ElmntKind::Tube, 400.0f, {-250.0, -25.0, -65.0});
    std::vector<std::unique_ptr<CMtrl>> owned;
    std::vector<const CMtrl*> materials(MtrlSlotCount, nullptr);
    for (int slot = 1; slot <= kDefaultMtrlCount; ++slot) {
        owned.push_back(CMtrl::CreateDefault(slot));
        materials[static_cast<std::size_t>(slot)] = owned.back().get();
    }
    CRndrQult quality;
    quality.SetValues(SRndrQultValues::ProfileDefaults());

    glViewport(0, 0, Width, Height);
    glClearColor(0.85f, 0.9f, 0.95f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glEnable(GL_DEPTH_TEST);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(30.0, double(Width) / Height, 100.0, 10000.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    // The light comes from above the camera.
    const std::array<GLfloat, 4> light{0.0f, 0.5f, 1.0f, 0.0f};
    glLightfv(GL_LIGHT0, GL_POSITION, light.data());
    gluLookAt(1400.0, 1900.0, -500.0, 0.0, -400.0, 600.0, 0.0, 1.0, 0.0);
    glEnable(GL_LIGHT0);
    glLightModeli(GL_LIGHT_MODEL_TWO_SIDE, GL_TRUE);
    const CRndrPass pass(RndrMode::Draw, &quality);
    for (const CElmnt* elmnt : {static_cast<const CElmnt*>(tube.get()), &slide}) {
        DrawElmnt(*elmnt, pass, materials, 1, ToolMode::Select, DrawFlags::None, &view);
    }
    ASSERT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));

    const std::vector<uint8_t> pixels = gl.ReadPixels();
    std::string ppm = "P6\n" + std::to_string(Width) + " " + std::to_string(Height) + "\n255\n";
    for (int row = Height - 1; row >= 0; --row) {
        for (int x = 0; x < Width; ++x) {
            const std::size_t i = (static_cast<std::size_t>(row) * Width + x) * 4;
            ppm.append(reinterpret_cast<const char*>(&pixels[i]), 3);
        }
    }
    const std::string base = std::string(ZARNEL_ARTIFACT_DIR) + "/vrml-slide";
    File file;
    ASSERT_TRUE(file.Open(base + ".ppm", File::Mode::Write));
    ASSERT_TRUE(file.Write(ppm.data(), ppm.size()));
    ASSERT_TRUE(file.Close());
    const std::string convert = "convert '" + base + ".ppm' '" + base + ".png' >/dev/null 2>&1";
    EXPECT_EQ(std::system(convert.c_str()), 0) << "ImageMagick's convert is missing";
}
