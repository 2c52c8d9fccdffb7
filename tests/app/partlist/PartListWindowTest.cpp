// The parts list window in the design program on a virtual display: its columns, the rows of
// the articles with the rule and totals rows, the refill after every change of the design,
// "Alles anzeigen", the entry dialog reached by a double-click and what it takes back, and the
// order form's pages drawn into bitmaps (saved as pictures to look at) and shown in the
// preview.
#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <wx/dcmemory.h>
#include <wx/docview.h>
#include <wx/image.h>
#include <wx/imagpng.h>
#include <wx/listctrl.h>
#include <wx/modalhook.h>
#include <wx/textctrl.h>
#include <wx/uiaction.h>

#include "app/frame/CommandIds.h"
#include "app/frame/MainFrm.h"
#include "app/frame/WxCommandIds.h"
#include "app/frame/ZarnelDocManager.h"
#include "app/frame/ZarnelWxDocument.h"
#include "app/partlist/DlgPrtList.h"
#include "app/partlist/OrderFormPrintout.h"
#include "app/partlist/PartListCtrl.h"
#include "app/partlist/PartListView.h"
#include "app/shell/ZarnelApp.h"
#include "model/PartsSummary.h"
#include "model/ZarnelDcmt.h"
#include "support/LocaleNumber.h"
#include "tests/app/frame/AppRun.h"
#include "tests/harness/TempFolder.h"

namespace {

constexpr const char* kRedTube = "Rohr, 35 cm, rot";

class PartListWindow : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("ZARNEL_CONFIG_DIR", m_folder.File("user").c_str(), 1);
        setenv("ZARNEL_MACHINE_CONFIG_DIR", ZARNEL_MACHINE_SETTINGS_DIR, 1);
    }

    TempFolder m_folder;
};

CZarnelWxDocument& Document(CZarnelApp& app) {
    return dynamic_cast<CZarnelWxDocument&>(*app.GetDocManager()->GetCurrentDocument());
}

void SendCommand(CMainFrm& frame, uint32_t command) {
    wxCommandEvent event(wxEVT_MENU, WxCommandId(command));
    event.SetEventObject(&frame);
    frame.ProcessWindowEvent(event);
    WaitForIdle();
}

// Enabled and checked as the menus show them.
std::pair<bool, bool> CommandState(CMainFrm& frame, uint32_t command) {
    wxUpdateUIEvent probe(WxCommandId(command));
    probe.SetEventObject(&frame);
    frame.ProcessWindowEvent(probe);
    return {!probe.GetSetEnabled() || probe.GetEnabled(),
            probe.GetSetChecked() && probe.GetChecked()};
}

// A change as a part tool makes it: red 35 cm tubes in a new revision, recounted, windows told.
void AddRedTubes(CZarnelWxDocument& document, int count) {
    CZarnelDcmt& dcmt = document.GetDcmt();
    const Revision r = dcmt.NewRevision();
    for (int i = 0; i < count; ++i) {
        dcmt.AddElement(
            std::make_unique<CElmnt>(dcmt.GetIdSource(), r, ElmntKind::Tube, 2, 350.0f, 0.0f));
    }
    dcmt.UpdatePartsList();
    document.UpdateAllViews(ViewHint::Insertion);
}

// The parts list window on the current design, opened by its command.
CPartListView* OpenPartsList(CZarnelApp& app) {
    SendCommand(*app.GetMainFrame(), CommandId::WindowPartsList);
    const wxViewVector views = Document(app).GetViewsVector();
    return views.empty() ? nullptr : dynamic_cast<CPartListView*>(views.back());
}

std::string Cell(const wxListCtrl& list, long row, int column) {
    return list.GetItemText(row, column).utf8_string();
}

long FindRow(const wxListCtrl& list, const std::string& designation) {
    for (long row = 0; row < list.GetItemCount(); ++row) {
        if (Cell(list, row, 0) == designation) {
            return row;
        }
    }
    return -1;
}

std::string Decimal(const std::string& whole, const std::string& fraction) {
    return whole + LocaleDecimalChar() + fraction;
}

// Fills the entry dialog as a user would and presses OK; Cancel when told so.
class EntryDialogScript : public wxModalDialogHook {
public:
    int Enter(wxDialog* dialog) override {
        auto* entry = dynamic_cast<CDlgPrtList*>(dialog);
        if (entry == nullptr) {
            return wxID_NONE;
        }
        ++shown;
        entry->TransferDataToWindow();
        shownPrice = Text(*entry, CDlgPrtList::IdPrice);
        if (cancel) {
            return wxID_CANCEL;
        }
        Set(*entry, CDlgPrtList::IdAvailable, available);
        Set(*entry, CDlgPrtList::IdOrderNumber, orderNumber);
        Set(*entry, CDlgPrtList::IdPrice, price);
        return entry->TransferDataFromWindow() ? wxID_OK : wxID_CANCEL;
    }
    void Exit(wxDialog*) override {}

    static std::string Text(wxDialog& dialog, int id) {
        return dynamic_cast<wxTextCtrl&>(*dialog.FindWindow(id)).GetValue().utf8_string();
    }
    static void Set(wxDialog& dialog, int id, const std::string& text) {
        dynamic_cast<wxTextCtrl&>(*dialog.FindWindow(id)).ChangeValue(wxString::FromUTF8(text));
    }

    std::string available;
    std::string orderNumber;
    std::string price;
    bool cancel = false;
    int shown = 0;
    std::string shownPrice;
};

void Activate(CPartListView& view, long row) {
    wxListEvent event(wxEVT_LIST_ITEM_ACTIVATED, view.GetListCtrl()->GetId());
    event.SetEventObject(view.GetListCtrl());
    event.m_itemIndex = row;
    view.GetListCtrl()->GetEventHandler()->ProcessEvent(event);
}

TEST_F(PartListWindow, ColumnsRowsAndTotalsFollowEveryChangeOfTheDesign) {
    RunZarnel({}, [&](CZarnelApp& app) {
        CMainFrm& frame = *app.GetMainFrame();
        CZarnelWxDocument& document = Document(app);
        AddRedTubes(document, 2);
        CPartListView* view = OpenPartsList(app);
        ASSERT_NE(view, nullptr);
        const wxListCtrl& list = *view->GetListCtrl();

        const char* captions[] = {"Bezeichnung", "Anzahl",      "Bestellnr.",
                                  "Einzelpreis", "Gesamtpreis", "vorhanden",
                                  "übrig",       "fehlen",      "Preis"};
        ASSERT_EQ(list.GetColumnCount(), 9);
        for (int column = 0; column < 9; ++column) {
            wxListItem item;
            item.SetMask(wxLIST_MASK_TEXT | wxLIST_MASK_FORMAT);
            ASSERT_TRUE(list.GetColumn(column, item));
            EXPECT_EQ(item.GetText().utf8_string(), captions[column]);
            const bool left = column == 0 || column == 2;
            EXPECT_EQ(item.GetAlign(), left ? wxLIST_FORMAT_LEFT : wxLIST_FORMAT_RIGHT) << column;
        }

        // The only article in the design, then the rule and the totals.
        ASSERT_EQ(list.GetItemCount(), 3);
        const std::vector<std::string> tube = {
            kRedTube, "2", "ZK-004-02", Decimal("2", "83"), Decimal("5", "66"),
            "0",      "",  "2",         Decimal("5", "66")};
        for (int column = 0; column < 9; ++column) {
            EXPECT_EQ(Cell(list, 0, column), tube[static_cast<std::size_t>(column)]) << column;
        }
        const std::vector<std::string> rule = {
            "", "====", "", "", "========", "====", "====", "====", "========"};
        const std::vector<std::string> totals = {
            "Gesamt", "2", "", "", Decimal("5", "66"), "0", "0", "2", Decimal("5", "66")};
        for (int column = 0; column < 9; ++column) {
            EXPECT_EQ(Cell(list, 1, column), rule[static_cast<std::size_t>(column)]) << column;
            EXPECT_EQ(Cell(list, 2, column), totals[static_cast<std::size_t>(column)]) << column;
        }

        // Every change refills: one more tube, then undo.
        AddRedTubes(document, 1);
        EXPECT_EQ(Cell(list, 0, 1), "3");
        EXPECT_EQ(Cell(list, 2, 8), Decimal("8", "49"));
        SendCommand(frame, CommandId::EditUndo);
        EXPECT_EQ(Cell(list, 0, 1), "2");

        // "Alles anzeigen": every article of the price list, checked in the menu.
        EXPECT_EQ(CommandState(frame, CommandId::ShowAllParts), std::make_pair(true, false));
        SendCommand(frame, CommandId::ShowAllParts);
        EXPECT_TRUE(view->IsShowAll());
        EXPECT_EQ(CommandState(frame, CommandId::ShowAllParts), std::make_pair(true, true));
        const CPartsTable& table = document.GetDcmt().GetPartsTable();
        EXPECT_EQ(list.GetItemCount(), static_cast<int>(table.Size()) + 2);
        // An unused article in stock counts as left over.
        const long black = FindRow(list, "Rohr, 35 cm, schwarz");
        ASSERT_GE(black, 0);
        EXPECT_EQ(Cell(list, black, 1), "0");
        EXPECT_EQ(Cell(list, black, 6), Cell(list, black, 5));
        SendCommand(frame, CommandId::ShowAllParts);
        EXPECT_EQ(list.GetItemCount(), 3);

        for (uint32_t command :
             {CommandId::ExportPartsList, CommandId::LoadPriceList, CommandId::SavePriceList,
              CommandId::LoadStockList, CommandId::AddStockList, CommandId::SaveStockList,
              CommandId::FilePrint, CommandId::FilePrintDirect, CommandId::FilePrintPreview}) {
            EXPECT_TRUE(CommandState(frame, command).first) << command;
        }
        WaitUntilPainted(*frame.GetActiveChild());
        EXPECT_FALSE(TakeScreenshot("partlist-window.png").empty());
        document.Modify(false);
    });
}

TEST_F(PartListWindow, DoubleClickEditsTheArticleInPlace) {
    SAppRunResult result = RunZarnel({}, [&](CZarnelApp& app) {
        CZarnelWxDocument& document = Document(app);
        AddRedTubes(document, 2);
        CPartListView* view = OpenPartsList(app);
        ASSERT_NE(view, nullptr);
        const wxListCtrl& list = *view->GetListCtrl();
        const bool modifiedBefore = document.IsModified();

        EntryDialogScript script;
        script.Register();
        // The rule and totals rows carry no article.
        Activate(*view, 1);
        Activate(*view, 2);
        EXPECT_EQ(script.shown, 0);

        // Cancel changes nothing.
        script.cancel = true;
        Activate(*view, 0);
        EXPECT_EQ(script.shown, 1);
        EXPECT_EQ(script.shownPrice, Decimal("2", "83"));
        EXPECT_EQ(Cell(list, 0, 2), "ZK-004-02");

        // Order number and price only: the stock stays unedited.
        script.cancel = false;
        script.available = "0";
        script.orderNumber = "X-1";
        script.price = Decimal("1", "5");
        Activate(*view, 0);
        EXPECT_EQ(Cell(list, 0, 2), "X-1");
        EXPECT_EQ(Cell(list, 0, 3), Decimal("1", "50"));
        EXPECT_FALSE(view->IsStockEdited());

        // The stock: now the window remembers that stock was edited.
        script.available = "5";
        Activate(*view, 0);
        EXPECT_EQ(Cell(list, 0, 5), "5");
        EXPECT_EQ(Cell(list, 0, 6), "3");
        EXPECT_EQ(Cell(list, 0, 7), "");
        EXPECT_TRUE(view->IsStockEdited());
        const SPartEntry* entry = document.GetDcmt().GetPartsTable().Find(kRedTube);
        ASSERT_NE(entry, nullptr);
        EXPECT_EQ(entry->available, 5);
        EXPECT_EQ(entry->orderNumber, "X-1");
        EXPECT_EQ(entry->price, 1.5);
        // The edit lives in the parts table only: the design file is unchanged.
        EXPECT_EQ(document.IsModified(), modifiedBefore);

        // Out of range: the framework's message, the dialog stays open (not OK).
        script.available = "1000001";
        Activate(*view, 0);
        script.available = "5";
        script.price = "abc";
        Activate(*view, 0);
        EXPECT_EQ(entry->available, 5);

        // An article that vanished while the dialog was open is left alone.
        SPrtListValues gone{"Rohr, 999 cm, rot", 1, "Q", 1.0};
        EXPECT_FALSE(view->ApplyEntryValues(gone));
        script.Unregister();
        document.Modify(false);
    });
    std::vector<std::string> messages;
    for (const SDialogRecord& record : result.dialogs) {
        if (!record.message.empty()) {
            messages.push_back(record.message);
        }
    }
    EXPECT_EQ(messages,
              (std::vector<std::string>{"Geben Sie eine ganze Zahl zwischen 0 und 1000000 ein.",
                                        "Geben Sie eine Zahl ein."}));
}

TEST_F(PartListWindow, EntryDialogShowsTheSystemsTexts) {
    RunZarnel({}, [&](CZarnelApp& app) {
        CDlgPrtList dialog(app.GetMainFrame(), {kRedTube, 7, "ZK-004-02", 2.83});
        EXPECT_EQ(dialog.GetTitle().utf8_string(), "Teileliste");
        dialog.TransferDataToWindow();
        EXPECT_EQ(EntryDialogScript::Text(dialog, CDlgPrtList::IdDesignation), kRedTube);
        EXPECT_EQ(EntryDialogScript::Text(dialog, CDlgPrtList::IdAvailable), "7");
        EXPECT_EQ(EntryDialogScript::Text(dialog, CDlgPrtList::IdPrice), Decimal("2", "83"));
        EXPECT_EQ(dialog.FindWindow(wxID_OK)->GetLabel().utf8_string(), "OK");
        EXPECT_EQ(dialog.FindWindow(wxID_CANCEL)->GetLabel().utf8_string(), "Abbruch");

        // An order number that a price list line could not carry back.
        for (const std::string& refused : {std::string("A;B"), std::string("A\nB"),
                                           std::string("A\rB"), std::string(1025, 'x')}) {
            EntryDialogScript::Set(dialog, CDlgPrtList::IdOrderNumber, refused);
            EXPECT_FALSE(dialog.TransferDataFromWindow()) << refused;
        }
        EntryDialogScript::Set(dialog, CDlgPrtList::IdOrderNumber, std::string(1024, 'x'));

        // Infinity, NaN and hexadecimal numbers are no prices; blanks around a number are.
        for (const char* refused : {"inf", "nan", "0x10", "1e999", "-0,5x", ""}) {
            EntryDialogScript::Set(dialog, CDlgPrtList::IdPrice, refused);
            EXPECT_FALSE(dialog.TransferDataFromWindow()) << refused;
        }
        EntryDialogScript::Set(dialog, CDlgPrtList::IdPrice, " " + Decimal("3", "25") + " ");
        EntryDialogScript::Set(dialog, CDlgPrtList::IdDesignation, "anders");
        ASSERT_TRUE(dialog.TransferDataFromWindow());
        EXPECT_EQ(dialog.GetValues().price, 3.25);
        EntryDialogScript::Set(dialog, CDlgPrtList::IdPrice, "-0");
        ASSERT_TRUE(dialog.TransferDataFromWindow());
        EXPECT_FALSE(std::signbit(dialog.GetValues().price));
        EXPECT_EQ(dialog.GetValues().designation, kRedTube); // never taken back
        EXPECT_EQ(dialog.GetValues().orderNumber, std::string(1024, 'x'));
    });
}

// Typed and clicked as the user does: an order number with ";", which the saved price list
// would split, is refused with a message and the dialog stays open on the field; what is then
// typed over it is taken.
TEST_F(PartListWindow, EntryDialogRefusesAnOrderNumberWithTheListSeparator) {
    SAppRunResult result = RunZarnel({}, [&](CZarnelApp& app) {
        CDlgPrtList dialog(app.GetMainFrame(), {kRedTube, 7, "ZK-004-02", 2.83});
        dialog.Show();
        ASSERT_TRUE(WaitUntilPainted(dialog));
        wxWindow* field = dialog.FindWindow(CDlgPrtList::IdOrderNumber);
        wxUIActionSimulator input;
        const auto click = [&](wxWindow& target) {
            const wxRect r = target.GetScreenRect();
            input.MouseMove(r.x + r.width / 2, r.y + r.height / 2);
            return WaitForInput(input) && input.MouseClick() && WaitForIdle();
        };
        const auto typeOver = [&](const char* text) {
            return click(*field) && input.Char('a', wxMOD_CONTROL) && input.Text(text) &&
                   WaitForInput(input);
        };
        ASSERT_TRUE(typeOver("zk;004"));
        EXPECT_EQ(EntryDialogScript::Text(dialog, CDlgPrtList::IdOrderNumber), "zk;004");
        ASSERT_TRUE(click(*dialog.FindWindow(wxID_OK)));
        ASSERT_EQ(ActiveDialogRecorder()->dialogs.size(), 1u);
        EXPECT_TRUE(dialog.IsShown());
        EXPECT_EQ(wxWindow::FindFocus(), field);
        EXPECT_EQ(dialog.GetValues().orderNumber, "ZK-004-02");

        // The box, answered without being shown, still leaves the keyboard focus with the main
        // window: the field is clicked again before typing.
        ASSERT_TRUE(typeOver("zk-004"));
        ASSERT_TRUE(click(*dialog.FindWindow(wxID_OK)));
        EXPECT_FALSE(dialog.IsShown());
        EXPECT_EQ(dialog.GetValues().orderNumber, "zk-004");
    });
    ASSERT_EQ(result.dialogs.size(), 1u);
    EXPECT_EQ(result.dialogs[0].message,
              "Die Bestellnummer darf weder ein Semikolon (;) noch einen Zeilenumbruch enthalten "
              "und höchstens 1024 Zeichen lang sein.");
}

// The order form on a page of A4 at 100 dots per inch, as the preview draws it.
std::unique_ptr<COrderFormPrintout> PrintoutOnBitmap(std::vector<SOrderLine> lines,
                                                     wxMemoryDC& dc) {
    auto printout = std::make_unique<COrderFormPrintout>("Test", std::move(lines), true);
    printout->SetDC(&dc);
    printout->SetPPIScreen(96, 96);
    printout->SetPPIPrinter(100, 100);
    printout->SetPageSizePixels(827, 1169);
    printout->SetPaperRectPixels(wxRect(0, 0, 827, 1169));
    printout->SetPageSizeMM(210, 297);
    printout->OnPreparePrinting();
    return printout;
}

// Share of dark pixels in a band of rows (fractions of the page height).
double Ink(const wxImage& image, double from, double to) {
    int dark = 0;
    int total = 0;
    for (int y = static_cast<int>(from * image.GetHeight());
         y < static_cast<int>(to * image.GetHeight()); ++y) {
        for (int x = 0; x < image.GetWidth(); ++x, ++total) {
            dark += image.GetRed(x, y) < 128 ? 1 : 0;
        }
    }
    return total > 0 ? static_cast<double>(dark) / total : 0.0;
}

TEST_F(PartListWindow, OrderFormPagesDrawnIntoBitmaps) {
    RunZarnel({}, [&](CZarnelApp& app) {
        CZarnelWxDocument& document = Document(app);
        AddRedTubes(document, 3);
        // Every article of the kit's price list with something missing: several pages.
        std::vector<SOrderLine> lines = CollectOrderLines(document.GetDcmt().GetPartsTable(), true);
        ASSERT_GT(lines.size(), 60u);
        for (std::size_t i = 0; i < lines.size(); ++i) {
            // Some three- and four-digit quantities, which reach the order number's column.
            lines[i].quantity =
                static_cast<int64_t>(i % 4) * (i % 9 == 1 ? 1000 : 1) + (i % 9 == 5 ? 250 : 0);
            lines[i].amount = lines[i].quantity * lines[i].unitPrice;
        }

        if (wxImage::FindHandler(wxBITMAP_TYPE_PNG) == nullptr) {
            wxImage::AddHandler(new wxPNGHandler);
        }
        wxBitmap bitmap(827, 1169, 24);
        wxMemoryDC dc(bitmap);
        std::unique_ptr<COrderFormPrintout> printout = PrintoutOnBitmap(lines, dc);
        int minPage = 0;
        int maxPage = 0;
        int from = 0;
        int to = 0;
        printout->GetPageInfo(&minPage, &maxPage, &from, &to);
        const std::vector<SOrderFormPage>& pages = printout->GetPages();
        ASSERT_GE(pages.size(), 2u);
        EXPECT_EQ(minPage, 1);
        EXPECT_EQ(maxPage, static_cast<int>(pages.size()));
        EXPECT_EQ(pages.back().endLine, lines.size());
        // Logical units are screen pixels: 96 per inch, the page 11.69" high.
        EXPECT_EQ(printout->GetMetrics().resolutionY, 96);
        EXPECT_NEAR(printout->GetMetrics().printableHeight, 1122, 2);
        EXPECT_GT(printout->GetMetrics().lineHeight, 10);

        // Page 1 with the address boxes, a page in the middle and the last page with the sum.
        dc.SelectObject(wxNullBitmap);
        std::vector<wxImage> images;
        for (int page : {1, 2, static_cast<int>(pages.size())}) {
            wxBitmap pageBitmap(827, 1169, 24);
            wxMemoryDC pageDc(pageBitmap);
            pageDc.SetBackground(*wxWHITE_BRUSH);
            pageDc.Clear();
            printout->SetDC(&pageDc);
            ASSERT_TRUE(printout->OnPrintPage(page));
            printout->SetDC(nullptr);
            pageDc.SelectObject(wxNullBitmap);
            const wxImage image = pageBitmap.ConvertToImage();
            const std::string path = std::string(ZARNEL_ARTIFACT_DIR) + "/order-form-page-" +
                                     std::to_string(page) + ".png";
            EXPECT_TRUE(image.SaveFile(path, wxBITMAP_TYPE_PNG));
            // The head (logo, title, contact lines) carries ink; the carry-over or sum row
            // ends above the last half inch.
            EXPECT_GT(Ink(image, 0.0, 0.25), 0.002) << page;
            EXPECT_EQ(Ink(image, 0.96, 1.0), 0.0) << page;
            images.push_back(image);
        }
        // Only page 1 has the address boxes: the rows of the later pages start higher up.
        EXPECT_GT(Ink(images[1], 0.25, 0.35), 2 * Ink(images[0], 0.25, 0.35));
        // Full pages run down to the carry-over row; the last page ends early with the sum.
        EXPECT_GT(Ink(images[0], 0.45, 0.9), 0.01);
        EXPECT_GT(Ink(images[1], 0.45, 0.9), 0.01);
        EXPECT_EQ(Ink(images[2], 0.6, 0.9), 0.0);
        EXPECT_FALSE(printout->HasPage(static_cast<int>(pages.size()) + 1));
        document.Modify(false);
    });
}

TEST_F(PartListWindow, PreviewShowsTheOrderFormAndAnEmptyTablePrintsNothing) {
    RunZarnel({}, [&](CZarnelApp& app) {
        CMainFrm& frame = *app.GetMainFrame();
        CZarnelWxDocument& document = Document(app);
        AddRedTubes(document, 2);
        CPartListView* view = OpenPartsList(app);
        ASSERT_NE(view, nullptr);

        const std::size_t before = wxTopLevelWindows.GetCount();
        SendCommand(frame, CommandId::FilePrintPreview);
        ASSERT_EQ(wxTopLevelWindows.GetCount(), before + 1);
        wxWindow* preview = wxTopLevelWindows.GetLast()->GetData();
        ASSERT_NE(preview, &frame);
        WaitUntilPainted(*preview);
        EXPECT_FALSE(TakeScreenshot("order-form-preview.png").empty());
        preview->Close(true);
        WaitUntil([&] { return wxTopLevelWindows.GetCount() == before; },
                  "the preview window gone");

        std::unique_ptr<wxPrintout> printout(view->OnCreatePrintout());
        EXPECT_NE(printout, nullptr);
        document.GetDcmt().GetPartsTable().Clear();
        printout.reset(view->OnCreatePrintout());
        EXPECT_EQ(printout, nullptr);
        document.Modify(false);
    });
}

} // namespace
