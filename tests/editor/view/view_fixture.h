#pragma once
// The editor view under the offscreen platform, on the application fixture
// with the program's own hosts: message boxes recorded, recording stand-ins
// for the property windows and the drawing of the canvas's events, and the
// view's signals to the main window (status bar coordinates, context menu)
// recorded; each test starts from an empty document, the start style and
// start settings.
#include "core/settings.h"
#include "app/wiring.h"
#include "document/canvas/drageditorwidget.h"
#include "document/document.h"
#include "editor/style.h"
#include "editor/view/editcard.h"
#include "editor/view/editcardhosts.h"
#include "platform/msgbox.h"
#include "platform/stringtable.h"
#include "tests/support/app_fixture.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QStringList>
#include <gtest/gtest.h>

#include <memory>
#include <set>

namespace viewtest {

// The floating windows: which are loaded, and every call as text.
class RecordingWindows : public pv::PropertyWindows {
 public:
  QStringList calls;
  std::set<int> loaded;

  void Load(int index, QWidget*) override {
    calls << QStringLiteral("Load:%1").arg(index);
    loaded.insert(index);
  }
  void Show(int index, QWidget*) override { calls << QStringLiteral("Show:%1").arg(index); }
  void Unload(int index) override {
    calls << QStringLiteral("Unload:%1").arg(index);
    loaded.erase(index);
  }
  bool Loaded(int index) const override { return loaded.count(index) != 0; }
  void FontApply(int code, const QVariant& v) override { calls << QStringLiteral("Font:%1=%2").arg(code).arg(Text(v)); }
  void TextApply(int code, const QVariant& v) override { calls << QStringLiteral("Text:%1=%2").arg(code).arg(Text(v)); }
  void LineeApply(std::int32_t color, const QVariant& style, std::int32_t aspect, std::int16_t mode) override {
    calls << QStringLiteral("Linee:%1,%2,%3,%4").arg(color).arg(Text(style)).arg(aspect).arg(mode);
  }
  void FillApply(std::int32_t fill, std::int32_t c1, std::int32_t c2, std::int16_t t) override {
    calls << QStringLiteral("Fill:%1,%2,%3,%4").arg(fill).arg(c1).arg(c2).arg(t);
  }
  // The calls of one window ("Font", "Text", "Linee", "Fill").
  QStringList Of(const QString& window) const {
    QStringList out;
    for (const QString& c : calls) {
      if (c.startsWith(window + QLatin1Char(':'))) out << c;
    }
    return out;
  }

 private:
  static QString Text(const QVariant& v) {
    if (v.typeId() == QMetaType::Bool) return v.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    if (v.typeId() == QMetaType::QString) return QLatin1Char('"') + v.toString() + QLatin1Char('"');
    return v.toString();
  }
};

// What the view tells the main window through its signals.
class RecordingWindow {
 public:
  QStringList calls;
  void Connect(pv::EditCardView& view) {
    QObject::connect(&view, &pv::EditCardView::StatusCoordChanged,
                     [this](float X, float Y) { calls << QStringLiteral("SetStatusCoord:%1,%2").arg(X).arg(Y); });
    QObject::connect(&view, &pv::EditCardView::EditMenuRequested, [this] { calls << QStringLiteral("popup_edit"); });
  }
};

class RecordingDrawing : public pv::EditCardDrawing {
 public:
  QStringList calls;
  void DrawObject(pv::DcHandle hdc, const std::array<std::int32_t, 13>&, const std::array<std::int32_t, 13>&,
                  std::int32_t, std::int32_t, std::int32_t, std::int32_t, float, std::int32_t lKey,
                  std::int16_t UserType) override {
    calls << QStringLiteral("DrawObject:%1,%2%3").arg(lKey).arg(UserType).arg(hdc != nullptr ? "" : ",nodc");
  }
  void DrawPage(pv::DcHandle hdc, std::int32_t, std::int32_t, std::int32_t, std::int32_t) override {
    calls << QStringLiteral("DrawPage%1").arg(hdc != nullptr ? "" : ",nodc");
  }
};

class ViewTest : public pv::test::AppFixture {
 protected:
  ViewTest() : AppFixture(true) {}
  void SetUp() override {
    AppFixture::SetUp();
    QLocale::setDefault(QLocale::c());
    pv::ResetDocumentState();
    pv::ResetDefaultStyle();
    pv::Settings settings;
    settings.SettingGridX = 5;
    settings.SettingGridY = 5;
    settings.SettingShowGrid = 1;
    settings.SettingShowRule = 1;
    settings.SettingSnap = 1;
    pv::ProgramSettings() = settings;
    pv::Header.LabelWidth = 100;
    pv::Header.LabelHeight = 50;
    pv::SetMessageBoxHost(&m_boxes);
    pv::SetPropertyWindows(&windows);
    view = std::make_unique<pv::EditCard>();
    pv::AttachEditCard(*view);
    window.Connect(*view);
    view->resize(800, 600);
    view->SetParameter();
  }
  void TearDown() override {
    view.reset();
    QLocale::setDefault(QLocale::c());
    pv::ResetDocumentState();
    pv::ResetDefaultStyle();
    AppFixture::TearDown();
  }

  pv::DragEditor& Canvas() { return view->Canvas(); }

  // A box-shaped object of `kind`, centre and size in document millimetres.
  std::int32_t AddBox(std::int16_t kind, float cx, float cy, float w, float h, float angle = 0) {
    return pv::AddObject(cx, cy, w, h, angle, pv::GeomBox, kind, false);
  }
  std::int32_t AddLine(float x1, float y1, float x2, float y2) {
    return pv::AddObject(x1, y1, x2, y2, 0, pv::GeomLine, pv::UserTypeLine, false);
  }
  pv::ObjectRecord& Record(std::int32_t key) { return pv::Objects[static_cast<std::size_t>(pv::FindObjectIndex(key))]; }
  // Types text into a box as the user would (replacing what it shows).
  void Type(int box, const QString& text) {
    view->Text1(box)->selectAll();
    view->Text1(box)->insert(text);
  }
  QStringList Texts() const {
    QStringList t;
    for (int i = 0; i < 5; ++i) t << view->Text1(i)->text();
    return t;
  }
  QStringList Tags() const {
    QStringList t;
    for (int i = 0; i < 5; ++i) t << view->Text1Tag(i);
    return t;
  }
  QStringList Captions() const {
    QStringList t;
    for (int i = 0; i < 5; ++i) t << view->Label2(i)->text();
    return t;
  }
  std::vector<bool> Enabled() const {
    std::vector<bool> e;
    for (int i = 0; i < 5; ++i) e.push_back(view->Text1(i)->isEnabled());
    return e;
  }

  std::unique_ptr<pv::EditCard> view;
  RecordingWindows windows;
  RecordingWindow window;
  QStringList messages;
  std::vector<pv::MsgIcon> icons;

 private:
  // Records the text and icon of every box and answers Ok.
  class Boxes : public pv::MessageBoxHost {
   public:
    explicit Boxes(ViewTest& test) : m_test(test) {}
    pv::MsgAnswer Show(const pv::MsgBoxRequest& r) override {
      m_test.messages << r.text;
      m_test.icons.push_back(r.icon);
      return pv::MsgAnswer::Ok;
    }

   private:
    ViewTest& m_test;
  };
  Boxes m_boxes{*this};
};

}  // namespace viewtest
