#include "ui/Ole.h"

#include <olectl.h>

#include <string>

#include <gtest/gtest.h>

#include "tests/ui/UiTestSupport.h"

namespace {

IStream* StreamOf(const std::string& bytes) {
    IStream* stream = CreateMemoryStream();
    if (stream && !bytes.empty()) stream->Write(bytes.data(), static_cast<ULONG>(bytes.size()), nullptr);
    LARGE_INTEGER start = {};
    if (stream) stream->Seek(start, STREAM_SEEK_SET, nullptr);
    return stream;
}

}  // namespace

// GIF and JPEG go through Wine's imaging components, which fail now and
// then (E_HANDLE) in a process that has already run the dialog tests; they
// are checked in fresh processes, as the launcher loads them
// (SplashImageTest, SplashE2ETest).
TEST(OleTest, BmpFilesLoadAsBitmapsOfTheImageSize) {
    const char* files[] = {"splash.bmp"};
    for (const char* file : files) {
        std::string bytes = ReadWholeFile(TestDataPath(file));
        ASSERT_FALSE(bytes.empty()) << file;
        IStream* stream = StreamOf(bytes);
        ASSERT_NE(stream, nullptr);
        HRESULT result = S_OK;
        IPicture* picture = LoadPicture(stream, &result);
        stream->Release();
        ASSERT_NE(picture, nullptr) << file << ": 0x" << std::hex << result;
        short type = PICTYPE_UNINITIALIZED;
        picture->get_Type(&type);
        EXPECT_EQ(type, PICTYPE_BITMAP) << file;
        BITMAP bitmap = {};
        ASSERT_NE(GetObjectA(static_cast<HBITMAP>(GetPictureHandle(picture)), sizeof(bitmap), &bitmap), 0) << file;
        EXPECT_EQ(bitmap.bmWidth, 40) << file;
        EXPECT_EQ(bitmap.bmHeight, 30) << file;
        ReleasePicture(picture);
        EXPECT_EQ(picture, nullptr);
    }
}

TEST(OleTest, PackedBitmapsEmptyStreamsAndTextAreNotPictures) {
    const std::string cases[] = {ReadWholeFile(TestDataPath("splash-packed.dib")), std::string(),
                                 std::string("not an image at all")};
    for (const std::string& bytes : cases) {
        IStream* stream = StreamOf(bytes);
        ASSERT_NE(stream, nullptr);
        IPicture* picture = LoadPicture(stream);
        stream->Release();
        EXPECT_EQ(picture, nullptr) << bytes.size() << " bytes";
        ReleasePicture(picture);
    }
    EXPECT_EQ(LoadPicture(nullptr), nullptr);
}
