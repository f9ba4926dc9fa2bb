// The justified label control on a real window: what its window shows, and its automatic height.
#include <gtest/gtest.h>
#include <windows.h>

#include "controls/JustifiedLabel.h"
#include "controls/JustifiedLabelPaint.h"
#include "toolkit/Forms.h"

using namespace zq;

namespace {

const char* const kCaption = "Lines of this paragraph are broken at spaces and stretched to the "
                             "full width by widening their spaces, all but the last one.\r\n"
                             "A short last line.";

struct JustifiedLabelTest : testing::Test {
    void SetUp() override {
        form.SetFormStyle(TFormStyle::fsStayOnTop);
        label->SetParent(&form);
        label->SetBounds(10, 10, 200, 80);
        label->SetColor(clWhite);
        label->SetCaption(kCaption);
    }
    // The number of lines at a width; sets the line height and the last line's natural width.
    int Lines(int width) {
        TBitmap scratch;
        scratch.SetSize(1, 1);
        TJustifiedTextPainter painter(scratch.Canvas(), label->Font(), true, 0);
        lineHeight = painter.LineHeight();
        const std::vector<TLineObj> lines = painter.Break(kCaption, width);
        scratch.Canvas().Font().Assign(label->Font());
        lastLineWidth = scratch.Canvas().TextWidth(lines.back().Text);
        return static_cast<int>(lines.size());
    }
    TForm form{nullptr};
    TJustifiedLabel* label = new TJustifiedLabel(&form);
    int lineHeight = 0;
    int lastLineWidth = 0;
};

} // namespace

TEST_F(JustifiedLabelTest, ItsWindowShowsTheCaptionJustifiedOnItsOwnColour) {
    char text[256] = {};
    GetWindowTextA(label->Handle(), text, sizeof text);
    EXPECT_STREQ(text, kCaption);
    form.Show();
    for (int width : {150, 200}) { // a new width breaks and paints the lines anew
        label->SetWidth(width);
        // Read from the label's own window, above any window an earlier test left behind.
        SetWindowPos(form.Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        UpdateWindow(label->Handle());
        WindowDC dc(label->Handle());
        auto rightmostInk = [&](int line) { // the last column not in the label's white, or -1
            int right = -1;
            for (int y = line * lineHeight; y < (line + 1) * lineHeight && y < 80; ++y)
                for (int x = 0; x < width; ++x)
                    if (GetPixel(dc.Get(), x, y) != RGB(255, 255, 255))
                        right = std::max(right, x);
            return right;
        };
        const int last = Lines(width) - 1;
        ASSERT_GE(last, 2);
        EXPECT_GE(rightmostInk(0), width - 3) << width;
        ASSERT_LT(lastLineWidth, width - 3) << width; // stretched, it would reach the edge
        EXPECT_LE(rightmostInk(last), lastLineWidth) << width;
        EXPECT_EQ(rightmostInk(last + 1), -1) << width; // opaque below the text
    }
}

TEST_F(JustifiedLabelTest, AutoSizeSetsTheHeightOfItsLinesAndKeepsTheWidth) {
    EXPECT_EQ(label->Height(), 80); // off at first
    label->SetAutoSize(true);
    const int lines = Lines(200);
    EXPECT_EQ(label->Height(), lines * lineHeight);
    label->SetCaption("One line");
    EXPECT_EQ(label->Height(), lineHeight);
    label->Font().SetHeight(-20);
    EXPECT_GT(label->Height(), lineHeight);
    EXPECT_EQ(label->Width(), 200);
}
