// Cameras: defaults, the derived values of each picture format, the limits of the field of view
// and the aspect, and the "camera2" record written and read.
#include <cmath>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "model/Cmra.h"
#include "support/FileWrite.h"

namespace {

std::string Written(const CCmra& camera, uint32_t flags2 = 0) {
    std::vector<char> buffer(4096);
    CFileWrite writer;
    writer.OpenBuffer(buffer.data(), static_cast<uint32_t>(buffer.size()), "camera", 0, flags2);
    camera.Write(writer);
    EXPECT_FALSE(writer.HasError());
    writer.Close();
    return buffer.data();
}

constexpr const char* kDefaultRecord =
    "camera2{320, 130, 0, 0, 0, 0, 0, 0, 355, 0, 55, 0, 233, 233, 40, 40, 33, 3000, 10, 10, "
    "1.000000, 40.000000, 0, 1.000000, 1.000000}\n";

} // namespace

TEST(CmraDefaults, NewCameraWithItsDerivedValues) {
    CCmra camera;
    EXPECT_EQ(camera.viewportWidth, 1);
    EXPECT_EQ(camera.viewportHeight, 1);
    EXPECT_EQ(camera.aspect, 1.0);
    EXPECT_EQ(camera.fieldOfView, 40.0);
    EXPECT_EQ(camera.cameraDistance, 320);
    EXPECT_EQ(camera.cameraHeight, 130);
    EXPECT_EQ(camera.modelTurn, 355);
    EXPECT_EQ(camera.eyeUp, 55);
    EXPECT_EQ(camera.eyeAcross, 0);
    EXPECT_EQ(camera.farClip, 3000);
    EXPECT_EQ(camera.nearClip, 10);
    EXPECT_EQ(camera.pictureFormat, PictureFormat::Screen);
    EXPECT_EQ(camera.fieldOfViewVertical, 40);
    EXPECT_EQ(camera.fieldOfViewHorizontal, 40);
    EXPECT_EQ(camera.visibleHeight, 233);
    EXPECT_EQ(camera.visibleWidth, 233);
    EXPECT_EQ(camera.focalLength, 33);
}

TEST(CmraDefaults, SetDefaultsRestoresEverythingButTheViewport) {
    CCmra camera;
    camera.viewportWidth = 300;
    camera.viewportHeight = 200;
    camera.cameraTilt = 20;
    camera.pictureFormat = PictureFormat::Cinema;
    camera.userRatioWidth = 3.0;
    camera.fieldOfView = 70.0;
    camera.SetDefaults();
    CCmra fresh;
    fresh.viewportWidth = 300;
    fresh.viewportHeight = 200;
    fresh.Update();
    EXPECT_EQ(Written(camera), Written(fresh));
    EXPECT_EQ(camera.aspect, 1.5); // the screen format of a 300 x 200 viewport
}

TEST(CmraUpdate, PictureFormats) {
    struct Row {
        int format;
        double aspect;
        int horizontal;
        int visibleWidth;
    };
    const Row rows[] = {
        {PictureFormat::Photo, 1.5, 57, 349},
        {PictureFormat::Video, 1.3333333333333333, 52, 311},
        {PictureFormat::Cinema, 1.7777777777777777, 66, 414},
        {PictureFormat::DinPortrait, std::sqrt(0.5), 29, 165},
        {PictureFormat::DinLandscape, std::sqrt(2.0), 54, 329},
        {7, 1.0, 40, 233},
        {-1, 1.0, 40, 233},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.format);
        CCmra camera;
        camera.pictureFormat = row.format;
        camera.Update();
        EXPECT_EQ(camera.aspect, row.aspect);
        EXPECT_EQ(camera.fieldOfViewHorizontal, row.horizontal);
        EXPECT_EQ(camera.visibleWidth, row.visibleWidth);
        EXPECT_EQ(camera.visibleHeight, 233);
    }
}

TEST(CmraUpdate, UserRatio) {
    CCmra camera;
    camera.pictureFormat = PictureFormat::User;
    camera.userRatioWidth = 2.0;
    camera.userRatioHeight = 1.0;
    camera.Update();
    EXPECT_EQ(camera.aspect, 2.0);
    camera.userRatioWidth = 0.0;
    camera.Update();
    EXPECT_EQ(camera.aspect, 1.0);
    camera.userRatioWidth = 1.0;
    camera.userRatioHeight = -2.0;
    camera.Update();
    EXPECT_EQ(camera.aspect, 1.0);
    // Parts whose quotient overflows give no picture either.
    camera.userRatioWidth = 1e300;
    camera.userRatioHeight = 1e-300;
    camera.Update();
    EXPECT_EQ(camera.aspect, 1.0);
}

TEST(CmraUpdate, ScreenFormatFollowsTheViewportAndKeepsItsAspectWithoutArea) {
    CCmra camera;
    camera.viewportWidth = 800;
    camera.viewportHeight = 400;
    camera.Update();
    EXPECT_EQ(camera.aspect, 2.0);
    camera.viewportHeight = 0; // a minimised window
    camera.Update();
    EXPECT_EQ(camera.aspect, 2.0);
    EXPECT_EQ(camera.fieldOfViewHorizontal, 72);
    camera.viewportWidth = 0;
    camera.viewportHeight = 300;
    camera.Update();
    EXPECT_EQ(camera.aspect, 2.0);
}

TEST(CmraUpdate, FieldOfViewIsKeptWithinItsLimits) {
    CCmra camera;
    camera.fieldOfView = 0.5;
    camera.Update();
    EXPECT_EQ(camera.fieldOfView, 1.0);
    EXPECT_NE(Written(camera).find(", 1.000000, 0, "), std::string::npos);
    camera.fieldOfView = -30.0;
    camera.Update();
    EXPECT_EQ(camera.fieldOfView, 1.0);
    camera.fieldOfView = 180.0; // the tangent of half of it would be infinite
    camera.Update();
    EXPECT_EQ(camera.fieldOfView, 179.0);
    EXPECT_GT(camera.visibleHeight, 0);
    EXPECT_EQ(camera.focalLength, 0);
    camera.fieldOfView = std::nan("");
    camera.Update();
    EXPECT_EQ(camera.fieldOfView, 1.0);
    EXPECT_FALSE(Written(camera).empty());
}

TEST(CmraUpdate, DistanceZeroAndHugeDistances) {
    CCmra camera;
    camera.cameraDistance = 0;
    camera.Update();
    EXPECT_EQ(camera.visibleHeight, 0);
    EXPECT_EQ(camera.visibleWidth, 0);
    camera.cameraDistance = 2000000000;
    camera.fieldOfView = 170.0;
    camera.Update(); // the visible size is beyond any int: held at the largest one
    EXPECT_EQ(camera.visibleHeight, 2147483647);
    camera.cameraDistance = -2000000000;
    camera.Update();
    EXPECT_EQ(camera.visibleHeight, -2147483647 - 1);
}

TEST(CmraRecord, NewCameraWrittenAtOnce) {
    EXPECT_EQ(Written(CCmra()), kDefaultRecord);
}

TEST(CmraRecord, LineEndAsTheWriterIsOpened) {
    const std::string written = Written(CCmra(), WriteFlags::CrLf);
    EXPECT_EQ(written.substr(written.size() - 4), "0}\r\n");
}

TEST(CmraRecord, EyeOffsetUpIsWrittenBeforeAcross) {
    CCmra camera;
    camera.eyeUp = 11;
    camera.eyeAcross = -22;
    camera.nearClip = 25;
    EXPECT_NE(Written(camera).find("355, 0, 11, -22, "), std::string::npos);
    EXPECT_NE(Written(camera).find("3000, 25, 25, "), std::string::npos);
}
