#include <QApplication>
#include <QDir>
#include <QtTest>

#include "modal_watcher.h"
#include "qt_ui.h"
#include "setup/setup_pages.h"
#include "setup_pages_dialog.h"

namespace velmar::test {

const QString kScreenshots = VELMAR_SCREENSHOT_DIR;

class SetupPagesDialogTest : public QObject {
  Q_OBJECT

 private slots:
  void databaseModeShowsEveryPageReadOnly();
  void editingPagesForwardTypingAndKeepAFailedPage();
};

void SetupPagesDialogTest::databaseModeShowsEveryPageReadOnly() {
  // Radio buttons away from their defaults; what OK stores is the unit test's.
  SetupParameters record;
  SetField(record.ACTTYPE, "2");
  SetField(record.POSCMDSRC, "136");
  SetField(record.HOMEPOS, "1");
  SetupPageValues values;
  values.FillPages(record);
  ModalWatcher watcher;
  QtUi ui;
  SetupPagesDialog dialog(values, ui);
  ui.SetOwner(&dialog);
  dialog.show();
  QCOMPARE(dialog.tabs()->count(), 6);
  QVERIFY(QDir().mkpath(kScreenshots));

  for (int index = 0; index < dialog.tabs()->count(); ++index) {
    dialog.tabs()->setCurrentIndex(index);
    QCOMPARE(static_cast<int>(dialog.sheet().ActiveIndex()), index);
    const SetupPage& page = dialog.sheet().Page(index);
    const QString where = QString::fromStdString(page.title);
    for (const PageEdit& control : page.edits) {
      QLineEdit* edit = dialog.edit(index, control.id);
      QVERIFY2(edit->isReadOnly(), qPrintable(where));
      const QString before = edit->text();
      QTest::keyClicks(edit, "9");
      QCOMPARE(edit->text(), before);
    }
    for (const PageRadioGroup& group : page.groups) {
      for (const PageRadio& control : group.buttons) {
        QRadioButton* radio = dialog.radio(index, control.id);
        QCOMPARE(radio->isEnabled(), radio->isChecked());
        QTest::mouseClick(radio, Qt::LeftButton);
        QCOMPARE(radio->isChecked(), control.checked);
      }
    }
    for (const PageButton& control : page.buttons) {
      QVERIFY2(dialog.button(index, control.id)->isHidden(), qPrintable(where));
    }
    QVERIFY(dialog.grab().save(kScreenshots + QString("/setup_page_%1.png").arg(page.id)));
  }

  dialog.accept();
  QCOMPARE(dialog.result(), int(QDialog::Accepted));
  QVERIFY2(watcher.events.isEmpty(), qPrintable(watcher.events.join('\n')));
}

void SetupPagesDialogTest::editingPagesForwardTypingAndKeepAFailedPage() {
  using namespace setup_controls;
  SetupPageValues values;
  values.databaseMode = false;
  ModalWatcher watcher;
  QtUi ui;
  SetupPagesDialog dialog(values, ui);
  ui.SetOwner(&dialog);
  dialog.show();

  dialog.tabs()->setCurrentIndex(2);
  QLineEdit* span = dialog.edit(2, kSpan);
  span->clear();
  QTest::keyClicks(span, "9");
  dialog.tabs()->setCurrentIndex(3);
  QCOMPARE(dialog.tabs()->currentIndex(), 2);
  QCOMPARE(watcher.events,
           QStringList({"Warning|Actuator Setup|Enter a number between 0.1 and 5.9."}));

  span->clear();
  QTest::keyClicks(span, "2.0");
  dialog.tabs()->setCurrentIndex(3);
  QCOMPARE(dialog.tabs()->currentIndex(), 3);
  QCOMPARE(dialog.edit(3, kFirstPoint + 1)->text(), QString("0.1250"));
  QTest::mouseClick(dialog.button(3, kClearFields), Qt::LeftButton);
  QCOMPARE(dialog.edit(3, kFirstPoint + 16)->text(), QString("0.0"));
  QVERIFY(dialog.grab().save(kScreenshots + "/setup_page_133_editing.png"));
  dialog.accept();
  QVERIFY(dialog.isVisible());
  QCOMPARE(watcher.events.size(), 2);
  QTest::mouseClick(dialog.button(3, kLinearStroke), Qt::LeftButton);
  dialog.accept();
  QCOMPARE(dialog.result(), int(QDialog::Accepted));
  QCOMPARE(values.STROKETBL[16], std::string("2.0"));
}

}  // namespace velmar::test

QTEST_MAIN(velmar::test::SetupPagesDialogTest)

#include "setup_pages_dialog_test.moc"
