#include "DataEdit.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QStringList>
#include <QTest>
#include <QVBoxLayout>

#include "AssignError.h"
#include "Expression.h"

// fontconfig keeps its configuration until FcFini, which Qt never calls;
// LeakSanitizer is told so.  Unused without the sanitizer.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }

// Readable QString values in failure messages.
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

namespace ramvex {
namespace {

// A dialog holding a labelled entry field and a second control to move the
// focus to; the field's messages are recorded instead of shown.
class DataEditTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    if (QApplication::instance() == nullptr) {
      static int argc = 1;
      static char name[] = "gui_widget_tests";
      static char* argv[] = {name, nullptr};
      new QApplication(argc, argv);
    }
  }

  void SetUp() override {
    auto* layout = new QVBoxLayout(&dialog);
    label = new QLabel(&dialog);
    field = new TDataEdit(&dialog);
    other = new QLineEdit(&dialog);
    layout->addWidget(label);
    layout->addWidget(field);
    layout->addWidget(other);
    field->SetEditLabel(label);
    field->SetNotifier([this](QWidget*, const QString& m) { messages << m; });
  }

  // Types text into the field as the user would, replacing what is there.
  void Type(const QString& text) {
    field->selectAll();
    QTest::keyClicks(field, text);
  }

  QDialog dialog;
  QLabel* label = nullptr;
  TDataEdit* field = nullptr;
  QLineEdit* other = nullptr;
  QStringList messages;
};

TEST_F(DataEditTest, ValuesOutsideTheLimitsAreReplacedByTheLimit) {
  field->SetMinVal(1);
  field->SetMaxVal(300);
  field->setText("500");
  EXPECT_FALSE(field->CheckEntry());
  EXPECT_EQ(field->text(), "300");
  field->setText("0");
  EXPECT_FALSE(field->CheckEntry());
  EXPECT_EQ(field->text(), "1");
  EXPECT_EQ(messages, QStringList({"Entry must be less than or equal to 300",
                                   "Entry must be greater than or equal to 1"}));
  field->setText("300");
  EXPECT_TRUE(field->CheckEntry());
  EXPECT_EQ(messages.size(), 2);
}

TEST_F(DataEditTest, IntegerOnlyMessages) {
  field->SetIntegerOnly(true);
  field->setText("2.5");
  EXPECT_FALSE(field->CheckEntry());
  EXPECT_EQ(field->text(), "2.5");
  field->setText("2*");
  EXPECT_FALSE(field->CheckEntry());
  EXPECT_EQ(field->text(), "2*");
  field->setText("7/2*2");
  EXPECT_TRUE(field->CheckEntry());
  EXPECT_EQ(field->text(), "7");
  EXPECT_EQ(messages, QStringList({"Entry must be an integer.", "Entry must be a valid integer."}));
  // The limits were clamped to the 32-bit range.
  EXPECT_EQ(field->MaxVal(), 2147483647.0L);
  EXPECT_EQ(field->MinVal(), -2147483648.0L);
}

TEST_F(DataEditTest, EvaluatorMessageAndTextAsTyped) {
  field->setText("2*sin(-0.5)");
  EXPECT_FALSE(field->CheckEntry());
  EXPECT_EQ(field->text(), "2*sin(-0.5)");
  field->setText("1/0");
  EXPECT_FALSE(field->CheckEntry());
  EXPECT_EQ(messages, QStringList({entry_messages::kInvalidCharacters, entry_messages::kDivisionByZero}));
  EXPECT_THROW(field->Number(), EAssignError);
}

TEST_F(DataEditTest, EnterShowsTheValueAndIsNotPassedOn) {
  auto* ok = new QPushButton("OK", &dialog);
  ok->setDefault(true);
  QObject::connect(ok, &QPushButton::clicked, &dialog, &QDialog::accept);
  int exits = 0;
  QObject::connect(field, &TDataEdit::exited, [&] { ++exits; });
  dialog.show();
  field->setFocus();
  Type("1/4");
  QTest::keyClick(field, Qt::Key_Return);
  EXPECT_EQ(field->text(), "0.25");
  EXPECT_EQ(field->selectedText(), "0.25");
  EXPECT_EQ(field->Number(), 0.25L);
  EXPECT_EQ(exits, 1);
  EXPECT_TRUE(dialog.isVisible());
  EXPECT_EQ(dialog.result(), 0);
  EXPECT_TRUE(messages.isEmpty());
}

TEST_F(DataEditTest, OperatorOverTheSelectedTextExtendsTheExpression) {
  field->SetNumber(12);
  field->selectAll();
  QTest::keyClick(field, '*');
  QTest::keyClick(field, '2');
  EXPECT_EQ(field->text(), "12*2");
  EXPECT_TRUE(field->CheckEntry());
  EXPECT_EQ(field->text(), "24");
  // A digit over the selected text replaces it as usual.
  field->selectAll();
  QTest::keyClick(field, '5');
  EXPECT_EQ(field->text(), "5");
}

TEST_F(DataEditTest, LeavingTheFieldChecksItAndKeepsTheFocus) {
  field->SetMaxVal(300);
  dialog.show();
  dialog.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
  field->setFocus();
  ASSERT_TRUE(field->hasFocus());
  Type("500");
  QTest::keyClick(field, Qt::Key_Tab);
  EXPECT_EQ(messages, QStringList({"Entry must be less than or equal to 300"}));
  EXPECT_EQ(field->text(), "300");
  EXPECT_TRUE(field->hasFocus());

  Type("2^8");
  QTest::keyClick(field, Qt::Key_Tab);
  EXPECT_EQ(field->text(), "256");
  EXPECT_TRUE(other->hasFocus());
  EXPECT_EQ(messages.size(), 1);
}

TEST_F(DataEditTest, LabelShowsCaptionAndUnitOfTheSystem) {
  field->SetCaption("&Free Height of Wall, H");
  field->SetUnitsString("L2");
  EXPECT_EQ(label->text(), "&Free Height of Wall, H (ft)");
  field->SetUnits(2);
  EXPECT_EQ(label->text(), "&Free Height of Wall, H (m)");
  field->SetUnits(3);
  EXPECT_EQ(label->text(), "&Free Height of Wall, H (L2)");
  field->SetUnits(0);
  EXPECT_EQ(field->Units(), 1);
  field->SetUnits(7);
  EXPECT_EQ(field->Units(), 3);
  field->SetUnitsString("");
  EXPECT_EQ(label->text(), "&Free Height of Wall, H");
  EXPECT_EQ(label->buddy(), field);
  field->setEnabled(false);
  EXPECT_FALSE(label->isEnabled());
  field->setEnabled(true);
  EXPECT_TRUE(label->isEnabled());
}

TEST_F(DataEditTest, LimitSetters) {
  EXPECT_EQ(field->text(), "0");
  field->SetMaxVal(10);
  field->SetMinVal(20);  // above the maximum: lowered to it
  EXPECT_EQ(field->MinVal(), 10.0L);
  EXPECT_EQ(field->text(), "10");  // the value 0 was below the new minimum
  field->SetMinVal(-5);
  field->SetMaxVal(-10);  // below the minimum: raised to it
  EXPECT_EQ(field->MaxVal(), -5.0L);
  EXPECT_EQ(field->text(), "-5");
  field->SetNumber(100);
  EXPECT_EQ(field->text(), "-5");

  // Loading stores everything as given.
  field->SetLoading(true);
  field->SetMinVal(50);
  field->SetNumber(1000);
  EXPECT_EQ(field->MinVal(), 50.0L);
  EXPECT_EQ(field->text(), "1000");
  field->SetLoading(false);
}

TEST_F(DataEditTest, DefaultLimitsAndDisplayFormats) {
  EXPECT_EQ(field->Display(field->MinVal()), "-1.18973149535723176E4932");
  EXPECT_EQ(field->Display(field->MaxVal()), "1.18973149535723176E4932");
  field->SetNumber(1.0L / 3.0L);
  EXPECT_EQ(field->text(), "0.333333333333333333");
  field->SetHex(true);
  field->SetNumber(31);
  EXPECT_EQ(field->text(), "$001F");
  field->SetNumber(-1);
  EXPECT_EQ(field->text(), "$FFFFFFFF");
  EXPECT_EQ(field->Number(), -1.0L);
  field->SetNumber(0x12345);
  EXPECT_EQ(field->text(), "$12345");
  field->SetNumber(2.5L);  // halves to even
  EXPECT_EQ(field->text(), "$0002");
  field->SetNumber(1e12L);  // beyond 32 bits: shown in decimal
  EXPECT_EQ(field->text(), "1000000000000");
}

}  // namespace
}  // namespace ramvex
