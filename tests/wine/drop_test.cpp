// Drops through the drop-target object and a real OLE drag from another program.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "app/program.h"
#include "support.h"
#include "test_data_object.h"

#include <shellapi.h>

namespace {

// OLE drops and the common dialogs need the process prepared as the program prepares it.
class FontFiles : public WindowTest {
protected:
    static void SetUpTestSuite() { PrepareProcess(); }
};

}  // namespace

TEST_F(FontFiles, TheDropTargetFollowsTheEffectRule)
{
    IDropTarget* target = W().拖放对象1.Object();
    TestDataObject text;
    text.OfferText("样本");
    TestDataObject html;
    html.Offer(static_cast<CLIPFORMAT>(RegisterClipboardFormatA("HTML Format")), "<b>x</b>");
    TestDataObject url;
    url.Offer(static_cast<CLIPFORMAT>(RegisterClipboardFormatA("UniformResourceLocator")), "https://example.com");

    struct Case {
        TestDataObject* data;
        DWORD keys, allowed, expected;
    };
    const Case cases[] = {
        {&text, 0, DROPEFFECT_COPY | DROPEFFECT_MOVE, DROPEFFECT_COPY},
        {&text, MK_SHIFT, DROPEFFECT_COPY | DROPEFFECT_MOVE, DROPEFFECT_MOVE},
        {&text, MK_SHIFT, DROPEFFECT_COPY, DROPEFFECT_NONE},
        {&text, MK_CONTROL | MK_SHIFT, DROPEFFECT_COPY | DROPEFFECT_LINK, DROPEFFECT_NONE},
        {&text, 0, DROPEFFECT_LINK, DROPEFFECT_LINK},
        {&html, 0, DROPEFFECT_COPY, DROPEFFECT_NONE},  // HTML and addresses are not taken
        {&url, 0, DROPEFFECT_COPY, DROPEFFECT_NONE},
    };
    for (const Case& c : cases) {
        DWORD effect = c.allowed;
        EXPECT_EQ(target->DragEnter(c.data, c.keys, {0, 0}, &effect), S_OK);
        EXPECT_EQ(effect, c.expected) << "enter, keys " << c.keys << " allowed " << c.allowed;
        effect = c.allowed;
        EXPECT_EQ(target->DragOver(c.keys, {0, 0}, &effect), S_OK);
        EXPECT_EQ(effect, c.expected) << "over";
        EXPECT_EQ(target->DragLeave(), S_OK);
    }
    // After leaving, a move alone asks nothing and allows nothing.
    DWORD effect = DROPEFFECT_COPY;
    target->DragOver(0, {0, 0}, &effect);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_NONE));
    // A second registration is refused.
    EXPECT_FALSE(W().拖放对象1.RegisterDropWindow(W().hwnd()));
}

TEST_F(FontFiles, DropsDeliverTextAndFilesAndAlwaysAnswerFailure)
{
    IDropTarget* target = W().拖放对象1.Object();
    auto drop = [&](TestDataObject& data, DWORD keys) {
        DWORD effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
        target->DragEnter(&data, keys, {0, 0}, &effect);
        effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
        return target->Drop(&data, keys, {0, 0}, &effect);
    };
    EditBox& sample = W().编辑框_输入的文字;
    EditBox& path = W().编辑框_安装文字目录;

    TestDataObject both;
    both.OfferText("永和九年");
    both.OfferFiles({"C:\\a.ttf"});
    EXPECT_EQ(drop(both, 0), E_FAIL);
    EXPECT_EQ(sample.Text(), "永和九年");
    EXPECT_EQ(path.Text(), "C:\\a.ttf");

    TestDataObject three;
    three.OfferFiles({"C:\\a.ttf", "C:\\字体\\b.ttf", "D:\\c.fon"});
    EXPECT_EQ(drop(three, 0), E_FAIL);
    EXPECT_EQ(path.Text(), "\"C:\\a.ttf\" \"C:\\字体\\b.ttf\" \"D:\\c.fon\"");
    TestDataObject none;
    none.OfferFiles({});
    drop(none, 0);
    EXPECT_EQ(path.Text(), "");

    // Text that comes with HTML (a browser's selection) is not taken; Ctrl+Shift takes nothing.
    TestDataObject browser;
    browser.OfferText("from a page");
    browser.Offer(static_cast<CLIPFORMAT>(RegisterClipboardFormatA("HTML Format")), "<p>from a page</p>");
    EXPECT_EQ(drop(browser, 0), E_FAIL);
    EXPECT_EQ(sample.Text(), "永和九年");
    TestDataObject refused;
    refused.OfferText("refused");
    refused.OfferFiles({"C:\\refused.ttf"});
    EXPECT_EQ(drop(refused, MK_CONTROL | MK_SHIFT), E_FAIL);
    EXPECT_EQ(sample.Text(), "永和九年");
    EXPECT_EQ(refused.getDataCalls, 0);

    // Text without its terminating NUL is read exactly as far as its memory block goes: a
    // block filled to its end with text and no NUL.
    HGLOBAL probe = GlobalAlloc(GMEM_MOVEABLE, 3);
    const SIZE_T block = GlobalSize(probe);
    GlobalFree(probe);
    TestDataObject unterminated;
    unterminated.Offer(CF_TEXT, std::string(block, 'x'));
    drop(unterminated, 0);
    EXPECT_EQ(sample.Text(), std::string(block, 'x'));
}

TEST_F(FontFiles, ADropWithoutUsableDataDeliversNothing)
{
    IDropTarget* target = W().拖放对象1.Object();
    EditBox& sample = W().编辑框_输入的文字;
    EditBox& path = W().编辑框_安装文字目录;
    sample.SetText("kept sample");
    path.SetText("C:\\kept.ttf");
    for (const auto reply : {TestDataObject::Reply::Stream, TestDataObject::Reply::NullHandle}) {
        SCOPED_TRACE(reply == TestDataObject::Reply::Stream ? "a stream" : "a null handle");
        TestDataObject data;
        data.reply = reply;
        data.OfferText("replaced");
        data.OfferFiles({"C:\\replaced.ttf"});
        DWORD effect = DROPEFFECT_COPY;
        target->DragEnter(&data, 0, {0, 0}, &effect);
        effect = DROPEFFECT_COPY;
        EXPECT_EQ(target->Drop(&data, 0, {0, 0}, &effect), E_FAIL);
        EXPECT_EQ(data.getDataCalls, 2) << "both kinds were asked for";
        EXPECT_EQ(sample.Text(), "kept sample");
        EXPECT_EQ(path.Text(), "C:\\kept.ttf");
        if (data.lastStream) {
            EXPECT_EQ(data.lastStream->Release(), 0u) << "the program kept a reference to the medium";
        }
    }
}

TEST_F(FontFiles, ARealDragFromAnotherProgramDropsAFileAndText)
{
    struct Case {
        Ctl over;
        std::string arguments;
        std::string expectedPath, expectedSample;
    };
    const std::string file = TestFontPath(5);
    const Case cases[] = {
        {Ctl::列表框_字体, "files \"" + file + "\"", file, ""},
        {Ctl::按钮_安装字体, "text \"dragged text\"", file, "dragged text"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments);
        RECT rc;
        GetWindowRect(W().ControlAt(Index(c.over)).hwnd(), &rc);
        const std::string args = std::to_string((rc.left + rc.right) / 2) + " " +
                                 std::to_string((rc.top + rc.bottom) / 2) + " " + c.arguments;
        auto helper = StartProgram("drag_source.exe", args);
        ASSERT_TRUE(helper->ok);
        // This thread serves the drop target while the other program drags.
        PumpUntil([&] { return WaitForSingleObject(helper->info.hProcess, 0) == WAIT_OBJECT_0; }, 20000);
        EXPECT_NE(helper->WaitForExit(0), STILL_ACTIVE);
        EXPECT_EQ(W().编辑框_安装文字目录.Text(), c.expectedPath);
        EXPECT_EQ(W().编辑框_输入的文字.Text(), c.expectedSample);
    }
}
