// The justified label control on a real window: what its window shows, and its automatic height.
#include <gtest/gtest.h>
#include <windows.h>

#include "controls/JstLabel.h"
#include "controls/JstLabelPaint.h"
#include "toolkit/Forms.h"

using namespace zq;

namespace {

const char* const kCaption = "Lines of this paragraph are broken at spaces and stretched to the "
                             "full width by widening their spaces, all but the last one.";

class JstLabelTest : public testing::Test {
protected:
    void SetUp() override {
        form.SetFormStyle(TFormStyle::fsStayOnTop);
        form.SetClientSize(240, 120);
        label = new TJstLabel(&form);
        label->SetParent(&form);
        label->SetBounds(10, 10, 200, 80);
        label->SetColor(clWhite);
        label->Font().SetColor(clBlack);
        label->SetCaption(kCaption);
    }
    // The label's pixels as they are on the screen.
    void Capture(TBitmap& shot) {
        form.Show();
        UpdateWindow(label->Handle());
        POINT origin{0, 0};
        ClientToScreen(label->Handle(), &origin);
        shot.SetSize(label->Width(), label->Height());
        WindowDC screen(nullptr);
        BitBlt(shot.Canvas().Handle(), 0, 0, shot.Width(), shot.Height(), screen.Get(), origin.x,
               origin.y, SRCCOPY);
    }
    std::vector<TLineObj> Lines(int width) {
        TBitmap scratch;
        scratch.SetSize(1, 1);
        TJstTextPainter painter(scratch.Canvas(), label->Font(), true, 0);
        lineHeight = painter.LineHeight();
        return painter.Break(kCaption, width);
    }
    // The rightmost non-white column in rows [top, top + lineHeight), or -1.
    int RightmostInk(TBitmap& shot, int top) const {
        int right = -1;
        for (int y = top; y < top + lineHeight && y < shot.Height(); ++y)
            for (int x = 0; x < shot.Width(); ++x)
                if (shot.PixelAt(x, y) != RGB(255, 255, 255))
                    right = std::max(right, x);
        return right;
    }
    TForm form{nullptr};
    TJstLabel* label = nullptr;
    int lineHeight = 0;
};

} // namespace

TEST_F(JstLabelTest, ItsWindowShowsTheCaptionJustifiedOnItsOwnColour) {
    char text[256] = {};
    GetWindowTextA(label->Handle(), text, sizeof text);
    EXPECT_STREQ(text, kCaption);

    TBitmap shot;
    for (int width : {150, 200}) { // a new width breaks and paints the lines anew
        label->SetWidth(width);
        Capture(shot);
        const int last = static_cast<int>(Lines(width).size()) - 1;
        ASSERT_GE(last, 2);
        EXPECT_GE(RightmostInk(shot, 0), width - 3) << width;
        EXPECT_GE(RightmostInk(shot, lineHeight), width - 3) << width;
        EXPECT_LT(RightmostInk(shot, last * lineHeight), width - 20) << width;
        EXPECT_EQ(RightmostInk(shot, (last + 1) * lineHeight), -1) << width; // opaque below
    }
}

TEST_F(JstLabelTest, AutoSizeSetsTheHeightOfItsLinesAndKeepsTheWidth) {
    EXPECT_EQ(label->Height(), 80); // off at first
    label->SetAutoSize(true);
    const int lines = static_cast<int>(Lines(200).size());
    ASSERT_GE(lines, 3);
    EXPECT_EQ(label->Height(), lines * lineHeight);
    EXPECT_EQ(label->Width(), 200);

    label->SetCaption("One line");
    EXPECT_EQ(label->Height(), lineHeight);
    label->Font().SetHeight(-20);
    EXPECT_GT(label->Height(), lineHeight);
    EXPECT_EQ(label->Width(), 200);
}
