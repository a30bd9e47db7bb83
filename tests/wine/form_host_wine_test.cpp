// The Win32 form host and message pump inside the test process: windows
// follow their models, user actions reach the handlers through the
// application's error handling, the close box ends the program.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/main_form.h"
#include "app/program_state.h"
#include "platform/exceptions.h"
#include "platform/win32/control_ids.h"
#include "platform/win32/form_host.h"
#include "platform/win32/message_pump.h"

namespace quorvane::win32 {
namespace {

struct Box {
  std::string text, caption;
  unsigned style;
};

class RecordingDialogs : public Dialogs {
 public:
  int MessageBox(const std::string& text, const std::string& caption, unsigned style) override {
    boxes.push_back({text, caption, style});
    return kIdOk;
  }
  std::vector<Box> boxes;
};

// A small form with a control of every kind, and buttons at each depth a
// notification can come from: the window, a panel, a tab page.
struct TestForm : TForm {
  TestForm()
      : TForm("TestForm", {100, 120, 420, 320}),
        Button("Button", this, {8, 8, 75, 25}),
        Other("Other", this, {90, 8, 75, 25}),
        Box("Box", this, {300, 8, 100, 60}),
        BoxButton("BoxButton", &Box, {4, 4, 80, 22}),
        Caption("Caption", &Box, {4, 30, 80, 13}),
        Pages("Pages", this, {8, 80, 380, 200}),
        Sheet("Sheet", &Pages, {4, 24, 372, 172}),
        SheetButton("SheetButton", &Sheet, {280, 8, 75, 25}),
        List("List", &Sheet, {8, 8, 260, 150}) {
    SetCaption("Host test");
    Sheet.SetCaption("&Page");
    for (TButton* b : {&Button, &Other, &BoxButton, &SheetButton}) b->SetCaption(b->Name());
  }
  TButton Button;
  TButton Other;
  TPanel Box;
  TButton BoxButton;
  TLabel Caption;
  TPageControl Pages;
  TTabSheet Sheet;
  TButton SheetButton;
  TListBox List;
};

class FormHostTest : public ::testing::Test {
 protected:
  void SetUp() override {
    saved_application_ = Application;
    saved_state_ = State;
    Application = &application;
    application.SetTitle("Host test app");
    host = std::make_unique<Win32FormHost>();
  }
  void TearDown() override {
    host.reset();
    Drain();
    Application = saved_application_;
    State = saved_state_;
  }

  void Realize() {
    host->Realize(form);
    ASSERT_NE(host->Window(), nullptr);
    pump.ProcessMessages();
  }
  HWND Of(const TControl& control) { return host->WindowOf(control); }
  std::string Text(HWND window) {
    char text[512] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
  }
  std::vector<std::string> WindowLines(HWND list) {
    std::vector<std::string> lines;
    const auto count = SendMessageA(list, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
      std::string line(static_cast<size_t>(SendMessageA(list, LB_GETTEXTLEN, i, 0)), '\0');
      SendMessageA(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(line.data()));
      lines.push_back(line);
    }
    return lines;
  }
  // Leaves no quit request or stray message to the next test.
  void Drain() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    }
  }

  Win32MessagePump pump;
  RecordingDialogs dialogs;
  TApplication application{pump, dialogs};
  // The form outlives the host, as in the program.
  TestForm form;
  std::unique_ptr<Win32FormHost> host;

 private:
  TApplication* saved_application_ = nullptr;
  ProgramState saved_state_;
};

TEST_F(FormHostTest, ClicksFromEveryDepthReachTheirButton) {
  Realize();
  for (TButton* button : {&form.Button, &form.BoxButton, &form.SheetButton}) {
    SCOPED_TRACE(button->Name());
    std::vector<std::string> clicked;
    for (TButton* b : {&form.Button, &form.BoxButton, &form.SheetButton})
      b->OnClick = [&clicked, b] { clicked.push_back(b->Name()); };
    PostMessageA(Of(*button), BM_CLICK, 0, 0);
    pump.ProcessMessages();
    EXPECT_EQ(clicked, std::vector<std::string>{button->Name()});
  }
}

TEST_F(FormHostTest, AnErrorInAHandlerIsShownAndTheProgramGoesOn) {
  Realize();
  int clicks = 0;
  form.SheetButton.OnClick = [&] {
    ++clicks;
    throw EFCreateError("Cannot create file C:\\x\\undo.reg");
  };
  PostMessageA(Of(form.SheetButton), BM_CLICK, 0, 0);
  PostMessageA(Of(form.SheetButton), BM_CLICK, 0, 0);
  pump.ProcessMessages();
  EXPECT_EQ(clicks, 2);
  ASSERT_EQ(dialogs.boxes.size(), 2u);
  EXPECT_EQ(dialogs.boxes[0].text, "Cannot create file C:\\x\\undo.reg.");
  EXPECT_EQ(dialogs.boxes[0].caption, "Host test app");
  EXPECT_EQ(dialogs.boxes[0].style, kMbOk | kMbIconError);
  EXPECT_TRUE(IsWindow(host->Window()));
}

TEST_F(FormHostTest, AUserSelectionInAListReachesItsModel) {
  for (const char* line : {"one", "two", "three"}) form.List.Items().Add(line);
  Realize();
  int clicks = 0;
  int index_seen = -2;
  form.List.OnClick = [&] {
    ++clicks;
    index_seen = form.List.ItemIndex();
  };
  HWND list = Of(form.List);
  RECT item{};
  SendMessageA(list, LB_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&item));
  const LPARAM point = MAKELPARAM(item.left + 5, item.top + 2);
  PostMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON, point);
  PostMessageA(list, WM_LBUTTONUP, 0, point);
  pump.ProcessMessages();
  EXPECT_EQ(form.List.ItemIndex(), 2);
  EXPECT_EQ(index_seen, 2);
  EXPECT_EQ(clicks, 1);
}

TEST_F(FormHostTest, WindowsFollowCaptionVisibilityEnabledAndBounds) {
  Realize();
  form.Button.SetCaption("&Parar");
  EXPECT_EQ(Text(Of(form.Button)), "&Parar");
  form.Caption.SetCaption("\xCDtens verificados:");
  EXPECT_EQ(Text(Of(form.Caption)), "\xCDtens verificados:");
  form.SetCaption("Another title");
  EXPECT_EQ(Text(host->Window()), "Another title");

  // A page's caption is its tab's text as well.
  form.Sheet.SetCaption("\xCDtens inv\xE1lidos:");
  char tab[64] = {};
  TCITEMA item{};
  item.mask = TCIF_TEXT;
  item.pszText = tab;
  item.cchTextMax = sizeof tab;
  ASSERT_TRUE(SendMessageA(Of(form.Pages), TCM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item)));
  EXPECT_STREQ(tab, "\xCDtens inv\xE1lidos:");

  form.Other.Hide();
  EXPECT_FALSE(IsWindowVisible(Of(form.Other)));
  form.Other.Show();
  EXPECT_TRUE(IsWindowVisible(Of(form.Other)));
  form.Other.SetEnabled(false);
  EXPECT_FALSE(IsWindowEnabled(Of(form.Other)));

  // The form's bounds are its outer rectangle; a control's lie in its
  // parent's client area.
  form.SetBounds({form.Left(), form.Top(), 616, 432});
  RECT outer{};
  GetWindowRect(host->Window(), &outer);
  EXPECT_EQ(outer.right - outer.left, 616);
  EXPECT_EQ(outer.bottom - outer.top, 432);
  EXPECT_EQ(outer.left, 100);
  EXPECT_EQ(outer.top, 120);
  form.SheetButton.SetBounds({200, 30, 90, 20});
  RECT r{};
  GetWindowRect(Of(form.SheetButton), &r);
  MapWindowPoints(HWND_DESKTOP, Of(form.Sheet), reinterpret_cast<POINT*>(&r), 2);
  EXPECT_EQ(r.left, 200);
  EXPECT_EQ(r.top, 30);
  EXPECT_EQ(r.right - r.left, 90);
  EXPECT_EQ(r.bottom - r.top, 20);
}

// Every kind of line change, each followed by a comparison of the whole
// window list with the model, so that a misplaced line shows at once.
TEST_F(FormHostTest, ListWindowsFollowEveryLineChange) {
  form.List.Items().Add("before realize");
  Realize();
  HWND list = Of(form.List);
  TStrings& items = form.List.Items();
  struct Step {
    const char* what;
    std::function<void()> change;
  };
  const Step steps[] = {
      {"add", [&] { items.Add("b\xE9ta"); }},
      {"add", [&] { items.Add("alpha"); }},
      {"select", [&] { form.List.SetItemIndex(1); }},
      {"replace the selected", [&] { items.Put(1, "gamma"); }},
      {"replace another", [&] { items.Put(0, "first"); }},
      {"sort", [&] { items.SetSorted(true); }},
      {"add sorted", [&] { items.Add("Delta"); }},
      {"select", [&] { form.List.SetItemIndex(2); }},
      {"add before the selection", [&] { items.Add("aardvark"); }},
      {"clear", [&] { items.Clear(); }},
      {"add after clear", [&] { items.Add("again"); }},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(step.what);
    step.change();
    EXPECT_EQ(WindowLines(list), items.Lines());
    EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), form.List.ItemIndex());
  }
}

TEST_F(FormHostTest, FocusMovesOnFromAControlThatIsDisabledOrHidden) {
  Realize();
  ASSERT_TRUE(SetForegroundWindow(host->Window()));
  SetFocus(Of(form.Button));
  ASSERT_EQ(GetFocus(), Of(form.Button));
  form.Button.SetEnabled(false);
  EXPECT_EQ(GetFocus(), Of(form.Other));
  form.Other.Hide();
  HWND focus = GetFocus();
  EXPECT_NE(focus, nullptr);
  EXPECT_NE(focus, Of(form.Other));
  EXPECT_TRUE(focus == host->Window() || IsChild(host->Window(), focus));

  form.List.SetFocus();
  EXPECT_EQ(GetFocus(), Of(form.List));
}

TEST_F(FormHostTest, ReactivationGivesTheFocusBack) {
  Realize();
  HWND other = CreateWindowExA(0, "STATIC", "other", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr,
                               nullptr, GetModuleHandleA(nullptr), nullptr);
  ASSERT_NE(other, nullptr);
  ASSERT_TRUE(SetForegroundWindow(host->Window()));
  SetFocus(Of(form.SheetButton));

  SetActiveWindow(other);
  pump.ProcessMessages();
  ASSERT_NE(GetFocus(), Of(form.SheetButton));
  SetActiveWindow(host->Window());
  pump.ProcessMessages();
  EXPECT_EQ(GetFocus(), Of(form.SheetButton));

  // The control that had the focus was hidden meanwhile: the first control
  // in tab order takes it.
  SetActiveWindow(other);
  form.SheetButton.Hide();
  SetActiveWindow(host->Window());
  pump.ProcessMessages();
  EXPECT_EQ(GetFocus(), Of(form.Button));
  DestroyWindow(other);
}

TEST_F(FormHostTest, TheHourglassStaysOverEveryPartOfTheWindow) {
  Realize();
  HCURSOR wait = LoadCursorA(nullptr, IDC_WAIT);
  HCURSOR arrow = LoadCursorA(nullptr, IDC_ARROW);
  for (HWND under : {host->Window(), Of(form.Button), Of(form.SheetButton), Of(form.List)}) {
    host->Cursor()->Show(TCursor::HourGlass);
    SetCursor(arrow);
    EXPECT_TRUE(SendMessageA(under, WM_SETCURSOR, reinterpret_cast<WPARAM>(under),
                             MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)));
    EXPECT_EQ(GetCursor(), wait);

    host->Cursor()->Show(TCursor::Default);
    SendMessageA(under, WM_SETCURSOR, reinterpret_cast<WPARAM>(under), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(GetCursor(), arrow);
  }
}

TEST_F(FormHostTest, TheCloseBoxStopsAScanAndEndsTheMessageLoop) {
  Realize();
  HWND window = host->Window();
  PostMessageA(window, WM_CLOSE, 0, 0);
  pump.ProcessMessages();
  EXPECT_TRUE(State.StopRequested);
  EXPECT_TRUE(application.Terminated());
  EXPECT_FALSE(IsWindow(window));
  EXPECT_EQ(host->Window(), nullptr);
  EXPECT_EQ(host->WindowOf(form.Button), nullptr);
  // What a scan still changes while it unwinds goes nowhere.
  form.Button.SetCaption("late");
  form.List.Items().Add("late");
  // The quit request is still there for the message loop.
  MSG message;
  ASSERT_TRUE(PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(message.wParam, 0u);
}

TEST_F(FormHostTest, ControlsGetTheirDesignedIdsAndFonts) {
  TForm1 designed;
  host->Realize(designed);
  ASSERT_NE(host->Window(), nullptr);
  std::vector<const TControl*> controls;
  std::function<void(const TControl&)> collect = [&](const TControl& c) {
    for (const TControl* child : c.Children()) {
      controls.push_back(child);
      collect(*child);
    }
  };
  collect(designed);
  ASSERT_EQ(controls.size(), 21u);
  for (const TControl* control : controls) {
    SCOPED_TRACE(control->Name());
    HWND window = host->WindowOf(*control);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(GetDlgCtrlID(window), ControlId(control->Name()));
    LOGFONTA font{};
    ASSERT_TRUE(GetObjectA(reinterpret_cast<HFONT>(SendMessageA(window, WM_GETFONT, 0, 0)), sizeof font, &font));
    const bool status_line = control == &designed.Panel2;
    EXPECT_STREQ(font.lfFaceName, status_line ? "Courier New" : "MS Sans Serif");
    EXPECT_EQ(font.lfHeight, -11);
  }
  // Right-aligned counters.
  EXPECT_TRUE(GetWindowLongA(host->WindowOf(designed.Label1), GWL_STYLE) & SS_RIGHT);
  EXPECT_FALSE(GetWindowLongA(host->WindowOf(designed.Label3), GWL_STYLE) & SS_RIGHT);
  // The model keeps the sorted list in order; the window must not sort.
  EXPECT_FALSE(GetWindowLongA(host->WindowOf(designed.ListBox4), GWL_STYLE) & LBS_SORT);
  host.reset();
}

TEST(ControlIds, AreFixedByNameAndDistinct) {
  const char* names[] = {"BotaoIniciar", "BotaoParar", "Panel1",         "Label1",         "Label2",
                         "Label3",       "Label4",     "Panel2",         "BotaoChecaVersao", "BotaoSair",
                         "PageControl1", "TabSheet1",  "ListBox1",       "BotaoBackups",   "PageControl2",
                         "TabSheet2",    "ListBox3",   "BotaoRestaurar", "ListBox2",       "BotaoDeletar",
                         "ListBox4",     "Button",     "Other",          "SheetButton"};
  std::vector<int> ids;
  for (const char* name : names) {
    const int id = ControlId(name);
    EXPECT_EQ(id, ControlId(std::string(name))) << name;
    EXPECT_GT(id, IDCANCEL) << name;
    EXPECT_LT(id, 0x8000) << name;
    for (int seen : ids) EXPECT_NE(id, seen) << name;
    ids.push_back(id);
  }
}

// A message-only window that records the application messages reaching it
// and, for WM_APP + 9, asks the pump to quit.
class PumpTest : public ::testing::Test {
 protected:
  void SetUp() override {
    record_ = this;
    WNDCLASSA window_class{};
    window_class.lpfnWndProc = &Proc;
    window_class.hInstance = GetModuleHandleA(nullptr);
    window_class.lpszClassName = "QuorvanePumpTest";
    RegisterClassA(&window_class);
    window = CreateWindowExA(0, "QuorvanePumpTest", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                             GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(window, nullptr);
  }
  void TearDown() override {
    DestroyWindow(window);
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    }
    record_ = nullptr;
  }
  static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message >= WM_APP && record_) {
      record_->seen.push_back(message);
      if (message == WM_APP + 9) record_->pump.Quit();
    }
    return DefWindowProcA(window, message, wparam, lparam);
  }

  Win32MessagePump pump;
  HWND window = nullptr;
  std::vector<UINT> seen;

 private:
  static PumpTest* record_;
};
PumpTest* PumpTest::record_ = nullptr;

TEST_F(PumpTest, ProcessMessagesHandlesTheQueueAndKeepsTheQuitRequest) {
  PostMessageA(window, WM_APP + 1, 0, 0);
  pump.Quit();
  PostMessageA(window, WM_APP + 2, 0, 0);
  pump.ProcessMessages();
  EXPECT_EQ(seen, (std::vector<UINT>{WM_APP + 1, WM_APP + 2}));
  // Processing again meets the quit request and leaves it queued.
  pump.ProcessMessages();
  MSG message;
  EXPECT_TRUE(PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
}

TEST_F(PumpTest, RunDispatchesUntilAHandlerQuits) {
  PostMessageA(window, WM_APP + 1, 0, 0);
  PostMessageA(window, WM_APP + 9, 0, 0);
  pump.Run();
  EXPECT_EQ(seen, (std::vector<UINT>{WM_APP + 1, WM_APP + 9}));
  PostMessageA(window, WM_APP + 3, 0, 0);
  pump.ProcessMessages();
  EXPECT_EQ(seen.back(), static_cast<UINT>(WM_APP + 3));
}

}  // namespace
}  // namespace quorvane::win32
