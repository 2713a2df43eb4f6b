// Events raised by the real controls, through the platform's own notifications.
#include <gtest/gtest.h>

#include <array>

#include "support.h"
#include "test_data_object.h"

namespace {

struct Record {
    int source;
    Event event;
    int selected;      // the source's selection when the handler ran (combo and list boxes)
    std::string text;  // the source's text when the handler ran
};
std::vector<Record> records;

int SelectionOf(MainWindow& w, int source)
{
    if (source < 0)
        return -1;
    Control& c = w.ControlAt(source);
    if (c.kind() == Kind::ComboBox)
        return static_cast<ComboBox&>(c).Selected();
    if (c.kind() == Kind::ListBox)
        return static_cast<ListBox&>(c).Selected();
    return -1;
}

template <Ctl C, Event E> void Rec(MainWindow& w)
{
    const int s = Index(C);
    records.push_back({s, E, SelectionOf(w, s), TextOf(w.ControlAt(s).hwnd())});
}

template <Ctl C, Event E> void RecText(MainWindow&, const std::string& text)
{
    records.push_back({Index(C), E, -1, text});
}

template <Event E> void RecMain(MainWindow&)
{
    records.push_back({kMainWindow, E, -1, {}});
}

// clang-format off
const std::array<WiringRow, 17> kRecording = {{
    {kMainWindow,                  Event::CreationComplete,  &RecMain<Event::CreationComplete>},
    {kMainWindow,                  Event::BeingDestroyed,    &RecMain<Event::BeingDestroyed>},
    {Index(Ctl::颜色选择器1),      Event::ColourPicked,      &Rec<Ctl::颜色选择器1, Event::ColourPicked>},
    {Index(Ctl::拖放对象1),        Event::FilesDropped,      nullptr, &RecText<Ctl::拖放对象1, Event::FilesDropped>},
    {Index(Ctl::编辑框_颜色),      Event::ContentChanged,    &Rec<Ctl::编辑框_颜色, Event::ContentChanged>},
    {Index(Ctl::编辑框_输入的文字), Event::ContentChanged,    &Rec<Ctl::编辑框_输入的文字, Event::ContentChanged>},
    {Index(Ctl::组合框_字形),      Event::ItemChosen,        &Rec<Ctl::组合框_字形, Event::ItemChosen>},
    {Index(Ctl::组合框_效果),      Event::ItemChosen,        &Rec<Ctl::组合框_效果, Event::ItemChosen>},
    {Index(Ctl::组合框_字体大小),  Event::ItemChosen,        &Rec<Ctl::组合框_字体大小, Event::ItemChosen>},
    {Index(Ctl::组合框_字体大小),  Event::EditTextChanged,   &Rec<Ctl::组合框_字体大小, Event::EditTextChanged>},
    {Index(Ctl::列表框_字体),      Event::SelectionChanged,  &Rec<Ctl::列表框_字体, Event::SelectionChanged>},
    {Index(Ctl::按钮_刷新),        Event::Clicked,           &Rec<Ctl::按钮_刷新, Event::Clicked>},
    {Index(Ctl::按钮_安装字体),    Event::Clicked,           &Rec<Ctl::按钮_安装字体, Event::Clicked>},
    {Index(Ctl::按钮_打开字体),    Event::Clicked,           &Rec<Ctl::按钮_打开字体, Event::Clicked>},
    {Index(Ctl::透明标签2),        Event::LeftButtonPressed, &Rec<Ctl::透明标签2, Event::LeftButtonPressed>},
    {Index(Ctl::时钟_靠),          Event::Tick,              &Rec<Ctl::时钟_靠, Event::Tick>},
    {Index(Ctl::拖放对象1),        Event::TextDropped,       nullptr, &RecText<Ctl::拖放对象1, Event::TextDropped>},
}};
// clang-format on

int Count(Ctl c, Event e)
{
    int n = 0;
    for (const Record& r : records)
        n += r.source == Index(c) && r.event == e;
    return n;
}

// The latest record of this control's event: the docking timer's ticks come in between
// whenever messages are pumped.
const Record& Last(Ctl c, Event e)
{
    for (auto r = records.rbegin(); r != records.rend(); ++r) {
        if (r->source == Index(c) && r->event == e)
            return *r;
    }
    static const Record none{-1, e, -1, "(none)"};
    return none;
}

class Events : public WindowTest {
protected:
    std::vector<WiringRow> Wiring(Features&) override { return {kRecording.begin(), kRecording.end()}; }
    void SetUp() override
    {
        WindowTest::SetUp();
        records.clear();
    }
};

HWND EditOf(HWND combo)
{
    return FindWindowExA(combo, nullptr, "Edit", nullptr);
}

}  // namespace

TEST_F(Events, EveryProgramWriteRaisesContentChangedOnceEvenWhenEqual)
{
    for (const char* text : {"255", "255", "", ""}) {
        const std::size_t before = records.size();
        W().编辑框_颜色.SetText(text);
        // Synchronous: the handler has run, once, and saw the new content.
        ASSERT_EQ(records.size(), before + 1) << "write of \"" << text << "\"";
        EXPECT_EQ(records.back().text, text);
    }
    PumpMessages(50);
    EXPECT_EQ(Count(Ctl::编辑框_颜色, Event::ContentChanged), 4) << "no second event from the platform";
    EXPECT_EQ(Count(Ctl::编辑框_输入的文字, Event::ContentChanged), 0);
}

TEST_F(Events, TypingRaisesContentChangedPerChange)
{
    HWND sample = W().编辑框_输入的文字.hwnd();
    for (char ch : std::string("ab"))
        SendMessageA(sample, WM_CHAR, static_cast<WPARAM>(ch), 1);
    EXPECT_EQ(Count(Ctl::编辑框_输入的文字, Event::ContentChanged), 2);
    EXPECT_EQ(records.back().text, "ab");
}

TEST_F(Events, ItemChosenArrivesThroughTheQueueWithTheNewSelection)
{
    HWND style = W().组合框_字形.hwnd();
    SetFocus(style);
    SendMessageA(style, CB_SHOWDROPDOWN, TRUE, 0);
    SendMessageA(style, WM_KEYDOWN, VK_DOWN, 0);
    SendMessageA(style, WM_KEYDOWN, VK_DOWN, 0);
    SendMessageA(style, WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_EQ(Count(Ctl::组合框_字形, Event::ItemChosen), 0) << "raised inside the notification";
    ASSERT_TRUE(PumpUntil([] { return Count(Ctl::组合框_字形, Event::ItemChosen) > 0; }));
    EXPECT_EQ(Count(Ctl::组合框_字形, Event::ItemChosen), 1);
    EXPECT_EQ(Last(Ctl::组合框_字形, Event::ItemChosen).selected, 2);
    EXPECT_EQ(Last(Ctl::组合框_字形, Event::ItemChosen).text, "粗体");
}

TEST_F(Events, ChoosingFromTheSizeListShowsTheItemInTheFieldFirst)
{
    ComboBox& size = W().组合框_字体大小;
    for (const char* item : {"10", "11", "12"})
        size.Add(item);
    HWND edit = EditOf(size.hwnd());
    ASSERT_TRUE(edit);
    SetFocus(edit);
    SendMessageA(size.hwnd(), CB_SHOWDROPDOWN, TRUE, 0);
    SendMessageA(size.hwnd(), WM_KEYDOWN, VK_DOWN, 0);
    SendMessageA(size.hwnd(), WM_KEYDOWN, VK_DOWN, 0);
    SendMessageA(size.hwnd(), WM_KEYDOWN, VK_RETURN, 0);
    ASSERT_TRUE(PumpUntil([] { return Count(Ctl::组合框_字体大小, Event::ItemChosen) > 0; }));
    EXPECT_EQ(Last(Ctl::组合框_字体大小, Event::ItemChosen).selected, size.Selected());
    EXPECT_EQ(Last(Ctl::组合框_字体大小, Event::ItemChosen).text, size.ItemText(size.Selected()));
    EXPECT_EQ(Count(Ctl::组合框_字体大小, Event::EditTextChanged), 0) << "picking is not typing";
}

TEST_F(Events, ProgramSelectionsRaiseNothing)
{
    W().组合框_字形.SetSelected(3);
    W().列表框_字体.SetSelected(0);
    W().颜色选择器1.SetColour(255);
    PumpMessages(100);
    for (const Record& r : records)
        EXPECT_EQ(r.event, Event::Tick) << "source " << r.source;
}

TEST_F(Events, TypingInTheSizeFieldRaisesEditTextChanged)
{
    HWND edit = EditOf(W().组合框_字体大小.hwnd());
    ASSERT_TRUE(edit);
    SendMessageA(edit, WM_CHAR, '1', 1);
    SendMessageA(edit, WM_CHAR, '2', 1);
    ASSERT_EQ(Count(Ctl::组合框_字体大小, Event::EditTextChanged), 2);
    EXPECT_EQ(records.back().text, "12");
}

TEST_F(Events, ListSelectionByTheUserRaisesSelectionChanged)
{
    ListBox& list = W().列表框_字体;
    list.Clear();
    list.Add("甲");
    list.Add("乙");
    SetFocus(list.hwnd());
    SendMessageA(list.hwnd(), WM_KEYDOWN, VK_DOWN, 0);
    ASSERT_EQ(Count(Ctl::列表框_字体, Event::SelectionChanged), 1);
    EXPECT_EQ(Last(Ctl::列表框_字体, Event::SelectionChanged).selected, 0);
    // A list longer than the box shows its vertical scroll bar.
    for (int i = 0; i < 40; ++i)
        list.Add("丙");
    EXPECT_TRUE(GetWindowLongA(list.hwnd(), GWL_STYLE) & WS_VSCROLL);
}

TEST_F(Events, ButtonsLabelAndTimerRaiseTheirEvents)
{
    SendMessageA(W().按钮_刷新.hwnd(), BM_CLICK, 0, 0);
    SendMessageA(W().按钮_安装字体.hwnd(), BM_CLICK, 0, 0);
    SendMessageA(W().按钮_打开字体.hwnd(), BM_CLICK, 0, 0);
    EXPECT_EQ(Count(Ctl::按钮_刷新, Event::Clicked), 1);
    EXPECT_EQ(Count(Ctl::按钮_安装字体, Event::Clicked), 1);
    EXPECT_EQ(Count(Ctl::按钮_打开字体, Event::Clicked), 1);

    SendMessageA(W().透明标签2.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
    EXPECT_EQ(Count(Ctl::透明标签2, Event::LeftButtonPressed), 1);

    // The docking timer ticks every 100 ms: about 10 ticks a second, neither 1 nor 100.
    ASSERT_TRUE(PumpUntil([] { return Count(Ctl::时钟_靠, Event::Tick) >= 1; }, 3000));
    const int before = Count(Ctl::时钟_靠, Event::Tick);
    PumpMessages(1000);
    const int ticks = Count(Ctl::时钟_靠, Event::Tick) - before;
    EXPECT_GE(ticks, 5) << "ticks in one second";
    EXPECT_LE(ticks, 15) << "ticks in one second";
}

// Any program can post to the window: only a combo box's item-chosen, which the program
// posts itself, runs a handler.
TEST_F(Events, ForeignPostedEventsRunNothing)
{
    HWND window = W().hwnd();
    for (int source = -1; source <= 20; ++source) {
        for (int event = 0; event <= 12; ++event) {
            const bool own = event == static_cast<int>(Event::ItemChosen) && source >= 0 &&
                             source < kControlCount && W().ControlAt(source).kind() == Kind::ComboBox;
            if (!own)
                PostMessageA(window, WM_APP + 1, static_cast<WPARAM>(source), static_cast<LPARAM>(event));
        }
    }
    PumpMessages(300);
    for (const Record& r : records)
        EXPECT_EQ(r.event, Event::Tick) << "source " << r.source << " event " << static_cast<int>(r.event);
    // The program's own post still arrives.
    PostMessageA(window, WM_APP + 1, static_cast<WPARAM>(Index(Ctl::组合框_效果)),
                 static_cast<LPARAM>(Event::ItemChosen));
    EXPECT_TRUE(PumpUntil([] { return Count(Ctl::组合框_效果, Event::ItemChosen) == 1; }, 2000));
}

TEST_F(Events, TabMovesForwardThroughTheTabOrderAndWraps)
{
    const Ctl order[] = {Ctl::编辑框_输入的文字, Ctl::列表框_字体,   Ctl::组合框_字形,         Ctl::组合框_效果,
                         Ctl::组合框_字体大小,   Ctl::颜色选择器1,   Ctl::编辑框_安装文字目录, Ctl::按钮_打开字体,
                         Ctl::按钮_刷新,         Ctl::按钮_安装字体, Ctl::编辑框_颜色,         Ctl::编辑框_输入的文字};
    SetFocus(W().编辑框_输入的文字.hwnd());
    for (std::size_t i = 1; i < std::size(order); ++i) {
        MSG tab = {GetFocus(), WM_KEYDOWN, VK_TAB, 0, 0, {}};
        EXPECT_TRUE(W().PreTranslate(tab));
        HWND expected = W().ControlAt(Index(order[i])).hwnd();
        HWND focus = GetFocus();
        EXPECT_TRUE(focus == expected || IsChild(expected, focus))
            << "step " << i << ": expected " << W().RowAt(Index(order[i])).name;
    }
    // Tab never reaches the sample box as a character.
    EXPECT_EQ(W().编辑框_输入的文字.Text(), "");
}

TEST_F(Events, ADropOfTextAndFilesDeliversBothTextFirst)
{
    TestDataObject data;
    data.OfferText("dropped text");
    data.OfferFiles({"C:\\a.ttf", "C:\\b.ttf"});
    IDropTarget* target = W().拖放对象1.Object();
    DWORD effect = DROPEFFECT_COPY;
    target->DragEnter(&data, 0, {0, 0}, &effect);
    effect = DROPEFFECT_COPY;
    target->Drop(&data, 0, {0, 0}, &effect);
    std::vector<Record> drops;
    for (const Record& r : records) {
        if (r.event != Event::Tick)
            drops.push_back(r);
    }
    ASSERT_EQ(drops.size(), 2u);
    EXPECT_EQ(drops[0].event, Event::TextDropped);
    EXPECT_EQ(drops[0].text, "dropped text");
    EXPECT_EQ(drops[1].event, Event::FilesDropped);
    EXPECT_EQ(drops[1].text, "\"C:\\a.ttf\" \"C:\\b.ttf\"");
}

namespace {

void ThrowOutOfMemory(MainWindow&)
{
    throw std::bad_alloc();
}

}  // namespace

// An exception that is not the program's own error, while the window is being destroyed,
// still ends the message loop.
TEST(Lifecycle, AnExceptionWhileTheWindowIsDestroyedStillEndsTheLoop)
{
    static const std::array<WiringRow, 1> rows = {{{kMainWindow, Event::BeingDestroyed, &ThrowOutOfMemory}}};
    MSG msg;
    while (PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
    LoadedWindow window(rows);
    ASSERT_TRUE(window.loaded);
    DestroyWindow(window->hwnd());
    EXPECT_TRUE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE)) << "no quit message: the loop would go on";
}
