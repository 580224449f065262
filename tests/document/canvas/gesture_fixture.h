#pragma once
// Whole mouse gestures against a fixed canvas: a 600 x 600 pixel surface over
// a 300 x 300 mm work area, so the zoom is 2 and nothing is scrolled (view
// pixel = 2 x millimetre); the page is 100 x 50 mm at (100, 125), the grid
// 5 mm with snapping on. The host records every event in order.
#include "canvas_fixture.h"

#include "document/objectstore.h"

#include <QStringList>
#include <functional>
#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace pvtest {

struct CoordCall {
  float X, Y, xStart, yStart, Dx, Dy;
  std::int16_t Button;
};

struct GestureHost : RecordingHost {
  std::vector<CoordCall> coords;
  // Called inside InsertObject, as the editor fills the new record.
  std::function<void(std::int32_t)> onInsert;
  void DrawCoord(float X, float Y, float xStart, float yStart, float Dx, float Dy, std::int16_t Button) override {
    coords.push_back({X, Y, xStart, yStart, Dx, Dy, Button});
  }
  void InsertObject(std::int32_t lKey, std::int16_t UserType) override {
    events << QStringLiteral("InsertObject(%1,%2)").arg(lKey).arg(UserType);
    if (onInsert) onInsert(lKey);
  }
  void SelectedSingle(std::int32_t lKey, std::int16_t UserType) override {
    events << QStringLiteral("SelectedSingle(%1,%2)").arg(lKey).arg(UserType);
  }
  void SelectedArea(std::int32_t nObjects) override { events << QStringLiteral("SelectedArea(%1)").arg(nObjects); }
  void ContextMenu() override { events << QStringLiteral("ContextMenu"); }
  void InsertRefused(std::int16_t UserType) override { events << QStringLiteral("InsertRefused(%1)").arg(UserType); }
  // The events without the painting ones (DrawPage, DrawObject).
  QStringList flow() const {
    QStringList out;
    for (const QString& e : events)
      if (!e.startsWith("DrawPage") && !e.startsWith("DrawObject")) out << e;
    return out;
  }
  void clearAll() {
    clear();
    coords.clear();
  }
};

inline constexpr std::int16_t Left = 1;
inline constexpr std::int16_t Right = 2;
inline constexpr std::int16_t NoShift = 0;
inline constexpr std::int16_t ShiftKey = 1;

// View pixel of a document millimetre at zoom 2.
constexpr float V(float mm) { return mm * 2.0f; }

class GestureTest : public ::testing::Test {
 protected:
  void SetUp() override {
    EnsureGuiApp();
    pv::ResetDocumentState();
    canvas = std::make_unique<pv::DragEditor>(&host, 600, 600);
    documentCanvas.emplace(*canvas);
    canvas->SetShowPage(false);
    canvas->SetWorkArea(300, 300, false);
    canvas->SetPage(100, 50, false);
    canvas->SetZoomPage();
    canvas->SetTool(pv::ToolSelect, pv::ToolSelect);
    host.clearAll();
  }
  void TearDown() override {
    documentCanvas.reset();
    canvas.reset();
    pv::ResetDocumentState();
  }
  pv::DragEditor& c() { return *canvas; }
  pv::ObjectRecord& rec(std::int32_t index) { return pv::Objects[std::size_t(index)]; }
  void select(std::int32_t index) { rec(index).IsSelected = pv::VbTrue; }

  // A press at (x1, y1) mm, moves through the points, release at the last
  // one; the left button, shift as given.
  void Drag(float x1, float y1, float x2, float y2, std::int16_t shift = NoShift, std::int16_t button = Left) {
    c().MouseDown(button, shift, V(x1), V(y1));
    c().MouseMove(button, shift, V((x1 + x2) / 2), V((y1 + y2) / 2));
    c().MouseMove(button, shift, V(x2), V(y2));
    c().MouseUp(button, shift, V(x2), V(y2));
  }
  void Click(float x, float y, std::int16_t shift = NoShift, std::int16_t button = Left) {
    c().MouseDown(button, shift, V(x), V(y));
    c().MouseUp(button, shift, V(x), V(y));
  }

  std::unique_ptr<pv::DragEditor> canvas;
  // The canvas is the document's canvas while the test runs.
  std::optional<pv::ScopedHost<pv::CanvasHost>> documentCanvas;
  GestureHost host;
};

}  // namespace pvtest
