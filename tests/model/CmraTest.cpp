// Cameras: defaults, the derived values of each picture format, the limits of the field of view
// and the aspect, and the "camera2" record written and read.
#include <cmath>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "model/Cmra.h"
#include "support/FileRead.h"
#include "support/FileWrite.h"
#include "tests/harness/RecordingUserInterface.h"

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

// Reads one record into camera; the reader stops at the first error without a box.
bool ReadQuietly(CCmra& camera, const std::string& text, uint32_t* errors = nullptr) {
    CFileRead reader;
    EXPECT_TRUE(reader.OpenString(text.c_str(), "design", '\0', ReadErrors::Quiet, 0));
    const bool read = camera.Read(reader);
    if (errors != nullptr) {
        *errors = reader.GetErrors();
    }
    EXPECT_EQ(read, reader.GetErrors() == 0);
    return read;
}

// The default record with one field (counted from 0 in writing order) replaced.
std::string WithField(int index, const std::string& value) {
    std::string record = kDefaultRecord;
    size_t start = std::string("camera2{").size();
    for (int i = 0; i < index; ++i) {
        start = record.find(", ", start) + 2;
    }
    size_t end = record.find_first_of(",}", start);
    return record.substr(0, start) + value + record.substr(end);
}

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

TEST(CmraRecord, RoundTrip) {
    CCmra camera;
    camera.viewportWidth = 640;
    camera.viewportHeight = 480;
    camera.cameraDistance = -150;
    camera.cameraTilt = 359;
    camera.modelLeftRight = 42;
    camera.eyeUp = -100;
    camera.eyeAcross = 7;
    camera.fieldOfView = 33.3333333;
    camera.pictureFormat = PictureFormat::User;
    camera.userRatioWidth = 2.5;
    camera.userRatioHeight = 0.75;
    camera.Update();
    const std::string written = Written(camera);

    CCmra back;
    back.viewportWidth = 99;
    back.viewportHeight = 77;
    ASSERT_TRUE(ReadQuietly(back, written));
    EXPECT_EQ(Written(back), written);
    EXPECT_EQ(back.viewportWidth, 99); // the viewport is the view's, not the file's
    EXPECT_EQ(back.viewportHeight, 77);
    EXPECT_EQ(back.aspect, 3.333333);
    EXPECT_EQ(back.fieldOfView, 33.333333);
}

TEST(CmraRecord, ValuesAreTakenAsTheyStand) {
    // Derived values that do not fit the field of view are not recomputed.
    const std::string text = WithField(12, "500");
    CCmra camera;
    ASSERT_TRUE(ReadQuietly(camera, text));
    EXPECT_EQ(camera.visibleHeight, 500);
    EXPECT_EQ(Written(camera), text);
}

TEST(CmraRecord, SecondNearClippingValueCounts) {
    CCmra camera;
    ASSERT_TRUE(ReadQuietly(camera, WithField(19, "25")));
    EXPECT_EQ(camera.nearClip, 25);
    ASSERT_TRUE(ReadQuietly(camera, WithField(18, "40")));
    EXPECT_EQ(camera.nearClip, 10);
}

TEST(CmraRecord, WhiteSpaceBetweenTokens) {
    CCmra camera;
    std::string text = kDefaultRecord;
    for (size_t at = text.find(", "); at != std::string::npos; at = text.find(", ", at + 5)) {
        text.replace(at, 2, " ,\r\n ");
    }
    ASSERT_TRUE(ReadQuietly(camera, text));
    EXPECT_EQ(Written(camera), kDefaultRecord);
}

TEST(CmraRecord, ImpossibleCamerasAreRefused) {
    const struct {
        int field;
        const char* value;
    } rows[] = {
        {20, "0.000000"}, // aspect
        {20, "-1.5"},     //
        {19, "0"},        // near
        {19, "-10"},      //
        {17, "10"},       // far not beyond near
        {17, "5"},        //
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::to_string(row.field) + " " + row.value);
        CCmra camera;
        camera.cameraHeight = 77;
        uint32_t errors = 0;
        EXPECT_FALSE(ReadQuietly(camera, WithField(row.field, row.value), &errors));
        EXPECT_EQ(errors, ReadErrors::Range);
        EXPECT_EQ(camera.cameraHeight, 77); // the camera stays as it was
    }
    // A number beyond the double range is not finite: the reader refuses it.
    CCmra camera;
    uint32_t errors = 0;
    EXPECT_FALSE(ReadQuietly(camera, WithField(21, "1" + std::string(400, '0')), &errors));
    EXPECT_NE(errors, 0u);
    EXPECT_FALSE(ReadQuietly(camera, WithField(23, "nan"), &errors));
    EXPECT_NE(errors, 0u);
}

TEST(CmraRecord, RefusalIsTheReadersReportAndAbortsTheRead) {
    CCmra camera;
    CFileRead reader;
    const std::string text = WithField(20, "0.0");
    ASSERT_TRUE(reader.OpenString(text.c_str(), "design", '\0', ReadErrors::AbortOnFirst, 0));
    EXPECT_THROW(camera.Read(reader), ReadAbort);
    ASSERT_EQ(TestUi().Boxes().size(), 1u);
    EXPECT_EQ(TestUi().Boxes()[0].caption, "Error");
    EXPECT_NE(TestUi().Boxes()[0].text.find("design"), std::string::npos);
}

TEST(CmraRecord, OtherVersionsAndDamagedRecordsFail) {
    for (const std::string& text :
         {std::string("camera3{320}"), std::string("camera{320}"), WithField(3, "x"),
          WithField(24, "1,5"), std::string(kDefaultRecord).substr(0, 60)}) {
        SCOPED_TRACE(text);
        CCmra camera;
        camera.cameraHeight = 77;
        uint32_t errors = 0;
        EXPECT_FALSE(ReadQuietly(camera, text, &errors));
        EXPECT_NE(errors, 0u);
        EXPECT_EQ(camera.cameraHeight, 77);
    }
}
