// Feedback and selection readers and the scenes of the drawing tests.
#include "tests/app/render/DrawTestKit.h"

#include <gtest/gtest.h>

#include <GL/glu.h>

#include "app/render/FeedbackBuffer.h"

namespace {

constexpr double SceneHalf = 2048.0;

void SetMillimetreProjection(double pickX = 0.0, double pickY = 0.0, double pickSize = 0.0) {
    glViewport(-2048, -2048, 4096, 4096);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    if (pickSize > 0.0) {
        GLint viewport[4] = {-2048, -2048, 4096, 4096};
        gluPickMatrix(pickX, pickY, pickSize, pickSize, viewport);
    }
    glOrtho(-SceneHalf, SceneHalf, -SceneHalf, SceneHalf, -SceneHalf, SceneHalf);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

std::vector<SFeedbackToken> Parse(const std::vector<GLfloat>& buffer, GLint count) {
    std::vector<SFeedbackToken> tokens;
    CFeedbackReader reader(buffer, count, FeedbackVertexFloats(GL_3D));
    SFeedbackItem item;
    while (reader.Next(item)) {
        SFeedbackToken token;
        switch (item.type) {
        case FeedbackTokenType::PassThrough:
            token.type = GL_PASS_THROUGH_TOKEN;
            token.name = CRndrPass::TokenToName(item.value);
            break;
        case FeedbackTokenType::Line:
        case FeedbackTokenType::LineReset:
            token.type = GL_LINE_TOKEN;
            break;
        case FeedbackTokenType::Point:
        case FeedbackTokenType::Polygon:
            token.type = static_cast<GLenum>(item.type);
            break;
        default:
            ADD_FAILURE() << "unexpected feedback token " << static_cast<uint32_t>(item.type);
            return tokens;
        }
        for (std::size_t k = 0; k < item.vertexCount; ++k) {
            const float* v = item.Vertex(k);
            token.vertices.emplace_back(v[0], v[1], (0.5 - v[2]) * 2.0 * SceneHalf);
        }
        tokens.push_back(std::move(token));
    }
    EXPECT_FALSE(reader.Stopped()) << "feedback buffer not readable to its end";
    return tokens;
}

} // namespace

std::vector<uint32_t> PassThroughNames(const std::vector<SFeedbackToken>& tokens) {
    std::vector<uint32_t> names;
    for (const SFeedbackToken& token : tokens) {
        if (token.type == GL_PASS_THROUGH_TOKEN) {
            names.push_back(token.name);
        }
    }
    return names;
}

int CountTokens(const std::vector<SFeedbackToken>& tokens, GLenum type) {
    int count = 0;
    for (const SFeedbackToken& token : tokens) {
        count += token.type == type ? 1 : 0;
    }
    return count;
}

std::vector<SFeedbackToken> CaptureFeedback(void (*draw)(const void*), const void* data) {
    SetMillimetreProjection();
    std::vector<GLfloat> buffer(1 << 20);
    glFeedbackBuffer(static_cast<GLsizei>(buffer.size()), GL_3D, buffer.data());
    glRenderMode(GL_FEEDBACK);
    draw(data);
    const GLint count = glRenderMode(GL_RENDER);
    EXPECT_GE(count, 0) << "feedback buffer overflow";
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    return Parse(buffer, count);
}

void SetPictureScene(double halfSize) {
    glViewport(0, 0, 256, 256);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-halfSize, halfSize, -halfSize, halfSize, -4.0 * halfSize, 4.0 * halfSize);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glRotated(25.0, 1.0, 0.0, 0.0);
    glRotated(-35.0, 0.0, 1.0, 0.0);
    glClearColor(1.0f, 1.0f, 1.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glEnable(GL_DEPTH_TEST);
}

int CountPixels(uint8_t r, uint8_t g, uint8_t b) {
    std::vector<uint8_t> pixels(256 * 256 * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, 256, 256, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    int count = 0;
    for (std::size_t i = 0; i < pixels.size(); i += 4) {
        count += pixels[i] == r && pixels[i + 1] == g && pixels[i + 2] == b ? 1 : 0;
    }
    return count;
}

CDrawProbe::CDrawProbe(int modell) : m_materials(MtrlSlotCount, nullptr) {
    for (int slot = 1; slot <= kDefaultMtrlCount; ++slot) {
        m_owned.push_back(CMtrl::CreateDefault(slot));
        m_materials[static_cast<std::size_t>(slot)] = m_owned.back().get();
    }
    SRndrQultValues values;
    values.modell = modell;
    m_quality.SetValues(values);
}

std::vector<SFeedbackToken> CDrawProbe::Feedback(RndrMode mode,
                                                 const std::vector<const CElmnt*>& elmnts,
                                                 ToolMode tool, DrawFlags flags,
                                                 Revision revision) {
    return CaptureFeedback([&] {
        const CRndrPass pass(mode, &m_quality, &m_meshes);
        for (const CElmnt* elmnt : elmnts) {
            DrawElmnt(*elmnt, pass, m_materials, revision, tool, flags);
        }
    });
}

std::vector<std::vector<GLuint>> CDrawProbe::Select(const CElmnt& elmnt, ToolMode tool, double x,
                                                    double y, double size, const SDrawView* view) {
    std::vector<GLuint> buffer(4096);
    glSelectBuffer(static_cast<GLsizei>(buffer.size()), buffer.data());
    glRenderMode(GL_SELECT);
    glInitNames();
    glPushName(0);
    SetMillimetreProjection(x, y, size);
    DrawElmnt(elmnt, CRndrPass(RndrMode::Select, &m_quality, &m_meshes), m_materials, 1, tool,
              DrawFlags::None, view);
    const GLint hits = glRenderMode(GL_RENDER);
    EXPECT_GE(hits, 0) << "selection buffer overflow";
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    std::vector<std::vector<GLuint>> records;
    for (std::size_t i = 0; records.size() < static_cast<std::size_t>(std::max(hits, 0));) {
        const auto first = buffer.begin() + static_cast<std::ptrdiff_t>(i + 3);
        records.emplace_back(first, first + buffer[i]);
        i += 3 + buffer[i];
    }
    return records;
}

void CDrawProbe::Draw(const CElmnt& elmnt, ToolMode tool, DrawFlags flags, double halfSize,
                      const CRndrQult* quality) {
    SetPictureScene(halfSize);
    DrawElmnt(elmnt,
              CRndrPass(RndrMode::Draw, quality != nullptr ? quality : &m_quality, &m_meshes),
              m_materials, 1, tool, flags);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

std::unique_ptr<CElmnt> MakeElmnt(CElmntIdSource& ids, ElmntKind kind, float length, CVector3 at) {
    return std::make_unique<CElmnt>(ids, 1, kind, 4, CTransform({}, at), true, length, 0.0f);
}
