// The objects dialog's grids: showing, adding where the user picks, and
// removing selected rows together with their objects.
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>

#include "labeled_edit.h"
#include "test_objects_fixture.h"

using dialog_tests::ObjectsDialog;
using wymianadanych::World;

namespace {
QStringList Texts(std::initializer_list<const char*> texts) {
  QStringList list;
  for (const char* t : texts) list << QString::fromUtf8(t);
  return list;
}
}  // namespace

TEST_F(ObjectsDialog, LayoutPagesAndHeaders) {
  EXPECT_EQ(Form5, &form);
  EXPECT_EQ(form.windowTitle(), QStringLiteral("Obiekty"));
  EXPECT_EQ(form.size(), QSize(425, 273));
  EXPECT_EQ(form.minimumSize(), form.maximumSize());
  EXPECT_EQ(form.pos(), QPoint(315, 152));
  EXPECT_EQ(form.PageControl1->geometry(), QRect(0, 0, 425, 225));
  ASSERT_EQ(form.PageControl1->count(), 4);
  const char* pages[] = {"Punkty obserwacyjne", "Łodzie", "Ludzie", "Rekiny"};
  for (int i = 0; i < 4; ++i) EXPECT_EQ(form.PageControl1->tabText(i), QString::fromUtf8(pages[i]));
  EXPECT_EQ(form.StringGrid1->size(), QSize(241, 193));
  EXPECT_EQ(form.StringGrid2->size(), QSize(417, 137));
  EXPECT_EQ(Row(form.StringGrid1, 0), Texts({"X (dm)", "Y (dm)", "Zasięg (dm)"}));
  EXPECT_EQ(Row(form.StringGrid2, 0),
            Texts({"X (dm)", "Y (dm)", "X-patrol", "Y-patrol", "Prędkość (dm/s)", "Zasięg (dm)"}));
  for (QTableWidget* grid : {form.StringGrid1, form.StringGrid2}) {
    EXPECT_EQ(grid->selectionBehavior(), QAbstractItemView::SelectRows);
    EXPECT_EQ(grid->selectionMode(), QAbstractItemView::ContiguousSelection);
    EXPECT_EQ(grid->verticalHeader()->defaultSectionSize(), 20);
    EXPECT_EQ(grid->horizontalHeader()->sectionResizeMode(0), QHeaderView::Interactive);
    EXPECT_EQ(grid->editTriggers(), QAbstractItemView::NoEditTriggers);
  }
  EXPECT_EQ(form.Button1->text(), QStringLiteral("Dodaj"));
  EXPECT_EQ(form.Button2->text(), QStringLiteral("Usuń"));
  EXPECT_EQ(form.Button3->text(), QStringLiteral("Dodaj"));
  EXPECT_EQ(form.Button4->text(), QStringLiteral("Usuń"));
  EXPECT_EQ(form.LabeledEdit1->Label()->text(), QStringLiteral("Zasięg (dm)"));
  EXPECT_EQ(form.LabeledEdit2->Label()->text(), QStringLiteral("Prędkość (dm/s)"));
  EXPECT_EQ(form.LabeledEdit3->Label()->text(), QStringLiteral("Zasięg (dm)"));
  EXPECT_TRUE(form.BitBtn1->isDefault());
  EXPECT_LT(form.BitBtn2->x(), form.BitBtn1->x());
  // Every control lies inside its page or the client area.
  for (QWidget* page : {form.TabSheet1, form.TabSheet2, form.TabSheet3, form.TabSheet4}) {
    form.PageControl1->setCurrentWidget(page);
    form.show();
    for (QWidget* child : page->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
      EXPECT_TRUE(page->rect().contains(child->geometry())) << child->metaObject()->className();
  }
  for (QWidget* b : {form.BitBtn1, form.BitBtn2}) EXPECT_TRUE(form.rect().contains(b->geometry()));
  EXPECT_GE(form.BitBtn1->y(), 225);
}

TEST_F(ObjectsDialog, EmptyListsShowHeaderAndOneBlankRowAndRemoveDoesNothing) {
  form.show();
  for (QTableWidget* grid : {form.StringGrid1, form.StringGrid2}) {
    EXPECT_EQ(TForm5::RowCount(grid), 2);
    EXPECT_TRUE(RowBlank(grid, 1));
  }
  SelectRows(form.StringGrid1, 1, 1);
  form.Button2Click();
  form.Button4Click();
  EXPECT_EQ(TForm5::RowCount(form.StringGrid1), 2);
  EXPECT_EQ(TForm5::RowCount(form.StringGrid2), 2);
  EXPECT_FALSE(TForm5::Cell(form.StringGrid1, 0, 0).isEmpty());
}

TEST_F(ObjectsDialog, ShowingFillsTheGridsFromTheLists) {
  AddObservers({{1, 2, 3}, {-4, 5, 600}});
  {
    std::lock_guard guard(World.Lock);
    wymianadanych::TLodz& b = wendo_test::AddBoat(World, 10, 20, 30, 40, -5, 60);
    b.X = 99, b.Y = 98;  // the current position is not shown
  }
  form.show();
  ASSERT_EQ(TForm5::RowCount(form.StringGrid1), 4);
  EXPECT_EQ(Row(form.StringGrid1, 1), Texts({"1", "2", "3"}));
  EXPECT_EQ(Row(form.StringGrid1, 2), Texts({"-4", "5", "600"}));
  EXPECT_TRUE(RowBlank(form.StringGrid1, 3));
  ASSERT_EQ(TForm5::RowCount(form.StringGrid2), 3);
  EXPECT_EQ(Row(form.StringGrid2, 1), Texts({"10", "20", "30", "40", "-5", "60"}));
  EXPECT_TRUE(RowBlank(form.StringGrid2, 2));
  // The first data row is the current one.
  int top = 0, bottom = 0;
  ASSERT_TRUE(TForm5::SelectedRows(form.StringGrid1, top, bottom));
  EXPECT_EQ(top, 1);

  // Shown again after the lists shrank: no stale rows.
  form.hide();
  World.ResetScenario();
  form.show();
  EXPECT_EQ(TForm5::RowCount(form.StringGrid1), 2);
  EXPECT_TRUE(RowBlank(form.StringGrid1, 1));
  EXPECT_EQ(TForm5::RowCount(form.StringGrid2), 2);
}

TEST_F(ObjectsDialog, RemovingARangeKeepsTheOthersInOrder) {
  AddObservers({{1, 1, 10}, {2, 2, 20}, {3, 3, 30}, {4, 4, 40}, {5, 5, 50}});
  ShowActive();
  // Click the second data row, shift-click the third, as the user would.
  QTableWidget* grid = form.StringGrid1;
  const QRect second = grid->visualRect(grid->model()->index(1, 0));
  const QRect third = grid->visualRect(grid->model()->index(2, 1));
  QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, second.center());
  QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::ShiftModifier, third.center());
  int top = 0, bottom = 0;
  ASSERT_TRUE(TForm5::SelectedRows(grid, top, bottom));
  ASSERT_EQ(top, 2);
  ASSERT_EQ(bottom, 3);

  form.Button2->click();
  ASSERT_EQ(World.Observers.size(), 3u);
  EXPECT_EQ(World.Observers[0].Range, 10);
  EXPECT_EQ(World.Observers[1].Range, 40);
  EXPECT_EQ(World.Observers[2].Range, 50);
  ASSERT_EQ(TForm5::RowCount(grid), 5);
  EXPECT_EQ(Row(grid, 1), Texts({"1", "1", "10"}));
  EXPECT_EQ(Row(grid, 2), Texts({"4", "4", "40"}));
  EXPECT_EQ(Row(grid, 3), Texts({"5", "5", "50"}));
  EXPECT_TRUE(RowBlank(grid, 4));
}

TEST_F(ObjectsDialog, SelectingTheBlankRowWithTheLastRemovesOnlyTheLast) {
  AddObservers({{1, 1, 10}, {2, 2, 20}, {3, 3, 30}});
  form.show();
  SelectRows(form.StringGrid1, 3, 4);
  form.Button2Click();
  ASSERT_EQ(World.Observers.size(), 2u);
  EXPECT_EQ(World.Observers[1].Range, 20);
  ASSERT_EQ(TForm5::RowCount(form.StringGrid1), 4);
  EXPECT_EQ(Row(form.StringGrid1, 2), Texts({"2", "2", "20"}));
  EXPECT_TRUE(RowBlank(form.StringGrid1, 3));

  // The blank row alone removes nothing.
  SelectRows(form.StringGrid1, 3, 3);
  form.Button2Click();
  EXPECT_EQ(World.Observers.size(), 2u);
  EXPECT_EQ(TForm5::RowCount(form.StringGrid1), 4);

  // Everything from the first data row to the blank row empties the list.
  SelectRows(form.StringGrid1, 1, 3);
  form.Button2Click();
  EXPECT_TRUE(World.Observers.empty());
  EXPECT_EQ(TForm5::RowCount(form.StringGrid1), 2);
  EXPECT_TRUE(RowBlank(form.StringGrid1, 1));
}

TEST_F(ObjectsDialog, RemovingBoatsWorksTheSameWay) {
  {
    std::lock_guard guard(World.Lock);
    for (int i = 1; i <= 3; ++i) wendo_test::AddBoat(World, i, 0, 0, 0, 0, 0);
  }
  form.show();
  SelectRows(form.StringGrid2, 1, 1);
  form.Button4Click();
  ASSERT_EQ(World.Boats.size(), 2u);
  EXPECT_EQ(World.Boats[0].HomeX, 2);
  EXPECT_EQ(World.Boats[1].HomeX, 3);
  ASSERT_EQ(TForm5::RowCount(form.StringGrid2), 4);
  EXPECT_EQ(TForm5::Cell(form.StringGrid2, 0, 1), QStringLiteral("2"));
  EXPECT_TRUE(RowBlank(form.StringGrid2, 3));
}

TEST_F(ObjectsDialog, AddingAnObservationPointWherePicked) {
  form.show();
  form.LabeledEdit1->SetText(QStringLiteral(" 50"));
  mapAnswers.Add(PickAt(120, 340));
  form.Button1Click();
  EXPECT_EQ(miniMapAnswers.Answered(), 1);  // the mini-map came first
  EXPECT_EQ(mapAnswers.Answered(), 1);
  EXPECT_EQ(Form2->PickKind, 1);
  EXPECT_FALSE(Form2->PickActive);
  ASSERT_EQ(World.Observers.size(), 1u);
  EXPECT_EQ(World.Observers[0].X, 120);
  EXPECT_EQ(World.Observers[0].Y, 340);
  EXPECT_EQ(World.Observers[0].Range, 50);
  ASSERT_EQ(TForm5::RowCount(form.StringGrid1), 3);
  EXPECT_EQ(Row(form.StringGrid1, 1), Texts({"120", "340", " 50"}));  // as typed
  EXPECT_TRUE(RowBlank(form.StringGrid1, 2));
  EXPECT_TRUE(capture.messages.empty());
  // The edit keeps its text for the next point; the next showing shows the value.
  EXPECT_EQ(form.LabeledEdit1->Text(), QStringLiteral(" 50"));
  form.hide();
  form.show();
  EXPECT_EQ(Row(form.StringGrid1, 1), Texts({"120", "340", "50"}));
  EXPECT_EQ(form.LabeledEdit1->Text(), QStringLiteral(" 50"));
}

TEST_F(ObjectsDialog, ARejectedRangePicksNothing) {
  ShowActive();
  form.LabeledEdit1->SetText(QString());
  form.Button1->click();
  ASSERT_EQ(capture.messages.size(), 1u);
  EXPECT_EQ(capture.messages[0], QStringLiteral("\"\" nie jest poprawną wartością."));
  EXPECT_EQ(QApplication::focusWidget(), form.LabeledEdit1->Edit());

  form.PageControl1->setCurrentWidget(form.TabSheet2);
  form.LabeledEdit2->SetText(QStringLiteral("5"));
  form.LabeledEdit3->SetText(QStringLiteral("3 0"));
  form.Button3->click();
  ASSERT_EQ(capture.messages.size(), 2u);
  EXPECT_EQ(capture.messages[1], QStringLiteral("\"3 0\" nie jest poprawną wartością."));
  EXPECT_EQ(QApplication::focusWidget(), form.LabeledEdit3->Edit());
  form.LabeledEdit2->SetText(QStringLiteral("szybko"));
  form.Button3->click();
  ASSERT_EQ(capture.messages.size(), 3u);
  EXPECT_EQ(capture.messages[2], QStringLiteral("\"szybko\" nie jest poprawną wartością."));

  EXPECT_EQ(miniMapAnswers.Answered() + mapAnswers.Answered(), 0);
  EXPECT_TRUE(World.Observers.empty());
  EXPECT_TRUE(World.Boats.empty());
  EXPECT_EQ(TForm5::RowCount(form.StringGrid1), 2);
  EXPECT_EQ(TForm5::RowCount(form.StringGrid2), 2);
}

TEST_F(ObjectsDialog, AMapClosedWithoutAPointAddsNothingAndEndsPicking) {
  form.show();
  form.LabeledEdit1->SetText(QStringLiteral("10"));
  mapAnswers.Add(CloseWithoutPoint);
  form.Button1Click();
  EXPECT_TRUE(World.Observers.empty());
  EXPECT_EQ(TForm5::RowCount(form.StringGrid1), 2);
  EXPECT_FALSE(Form2->PickActive);

  form.LabeledEdit2->SetText(QStringLiteral("10"));
  form.LabeledEdit3->SetText(QStringLiteral("10"));
  mapAnswers.Add(CloseWithoutPoint);
  form.Button3Click();
  EXPECT_EQ(mapAnswers.Answered(), 2);
  EXPECT_TRUE(World.Boats.empty());
  EXPECT_EQ(TForm5::RowCount(form.StringGrid2), 2);
  EXPECT_FALSE(Form2->PickActive);
}

TEST_F(ObjectsDialog, AddingABoatTakesHomeThenPatrol) {
  form.show();
  form.LabeledEdit2->SetText(QStringLiteral("12"));
  form.LabeledEdit3->SetText(QStringLiteral("+300"));
  size_t boatsDuringSecondPick = 0;
  wymianadanych::TLodz seenDuringSecondPick;
  mapAnswers.Add(PickAt(500, 600));
  mapAnswers.Add([&] {
    {
      std::lock_guard guard(World.Lock);
      boatsDuringSecondPick = World.Boats.size();
      if (!World.Boats.empty()) seenDuringSecondPick = World.Boats[0];
    }
    EXPECT_TRUE(Form2->PickActive);
    EXPECT_EQ(Form2->PickKind, 2);
    PickAt(700, 1100)();
  });
  form.Button3Click();
  EXPECT_EQ(miniMapAnswers.Answered(), 2);
  EXPECT_EQ(mapAnswers.Answered(), 2);

  // Already in the list, at its home, while the patrol point was picked.
  ASSERT_EQ(boatsDuringSecondPick, 1u);
  EXPECT_EQ(seenDuringSecondPick.X, 500);
  EXPECT_EQ(seenDuringSecondPick.HomeY, 600);
  EXPECT_EQ(seenDuringSecondPick.PatrolX, 0);
  EXPECT_EQ(seenDuringSecondPick.Speed, 0);

  ASSERT_EQ(World.Boats.size(), 1u);
  const wymianadanych::TLodz& b = World.Boats[0];
  EXPECT_EQ(b.X, 500);
  EXPECT_EQ(b.Y, 600);
  EXPECT_EQ(b.HomeX, 500);
  EXPECT_EQ(b.HomeY, 600);
  EXPECT_EQ(b.PatrolX, 700);
  EXPECT_EQ(b.PatrolY, 1100);
  EXPECT_EQ(b.Speed, 12);
  EXPECT_EQ(b.Range, 300);
  EXPECT_TRUE(b.Outbound);
  EXPECT_FALSE(Form2->PickActive);
  ASSERT_EQ(TForm5::RowCount(form.StringGrid2), 3);
  EXPECT_EQ(Row(form.StringGrid2, 1), Texts({"500", "600", "700", "1100", "12", "+300"}));
  EXPECT_TRUE(RowBlank(form.StringGrid2, 2));
}

TEST_F(ObjectsDialog, ABoatWhosePatrolPickIsClosedPatrolsItsHome) {
  form.show();
  form.LabeledEdit2->SetText(QStringLiteral("7"));
  form.LabeledEdit3->SetText(QStringLiteral("8"));
  mapAnswers.Add(PickAt(250, 900));
  mapAnswers.Add(CloseWithoutPoint);
  form.Button3Click();
  ASSERT_EQ(World.Boats.size(), 1u);
  EXPECT_EQ(World.Boats[0].PatrolX, 250);
  EXPECT_EQ(World.Boats[0].PatrolY, 900);
  EXPECT_EQ(World.Boats[0].Speed, 7);
  EXPECT_EQ(World.Boats[0].Range, 8);
  EXPECT_EQ(Row(form.StringGrid2, 1), Texts({"250", "900", "250", "900", "7", "8"}));
  EXPECT_FALSE(Form2->PickActive);
}

TEST_F(ObjectsDialog, PicksAreMadeByClickingTheShownMap) {
  // A map frame of water with a strip of land on the left; the view is
  // moved so the click's map position differs from its pixel.
  QImage frame(600, 400, QImage::Format_RGB32);
  frame.fill(QColor(0, 0, 255));
  for (int y = 0; y < 400; ++y)
    for (int x = 0; x < 100; ++x) frame.setPixel(x, y, qRgb(0, 128, 0));
  World.ViewLeft = 100;
  World.ViewTop = 300;
  form.show();
  form.LabeledEdit2->SetText(QStringLiteral("1"));
  form.LabeledEdit3->SetText(QStringLiteral("2"));
  auto click = [&](QPoint at) {
    return [&map = map, frame, at] {
      map.Image1->SetFrame(frame);
      QTest::mouseClick(map.Image1, Qt::RightButton, {}, at);
    };
  };
  mapAnswers.Add(click(QPoint(50, 50)));    // land: ignored, the map stays open
  mapAnswers.Add(click(QPoint(300, 200)));  // water: the home
  mapAnswers.Add(click(QPoint(10, 10)));    // land again: ignored
  mapAnswers.Add(click(QPoint(400, 100)));  // water: the patrol point
  form.Button3Click();
  EXPECT_EQ(mapAnswers.Answered(), 4);
  ASSERT_EQ(World.Boats.size(), 1u);
  EXPECT_EQ(World.Boats[0].HomeX, 400);
  EXPECT_EQ(World.Boats[0].HomeY, 500);
  EXPECT_EQ(World.Boats[0].PatrolX, 500);
  EXPECT_EQ(World.Boats[0].PatrolY, 400);
}
