#pragma once
// A recording host for the canvas's events, a fixture that starts every test
// from an empty document with a canvas of a fixed surface size, and helpers
// to put objects into the table.
#include "document/canvas/drageditor.h"
#include "document/canvas/geometry.h"
#include "document/model.h"
#include "platform/runtime.h"
#include "tests/support/app_fixture.h"
#include "tests/support/records.h"

#include <QGuiApplication>
#include <QString>
#include <QStringList>
#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <vector>

namespace pvtest {

// The Qt application the painting needs (fonts).
inline void EnsureGuiApp() { pv::test::EnsureGuiApplication(); }

struct DrawObjectCall {
  pv::OutlinePoints X{}, Y{};
  std::int32_t x1 = 0, y1 = 0, x2 = 0, y2 = 0;
  float angle = 0;
  std::int32_t key = 0;
  std::int16_t userType = 0;
  bool hadDc = false;
};

struct RecordingHost : pv::DragEditorHost {
  QStringList events;  // "DrawPage(l,t,r,b)", "DrawObject(key)", "SelectionStop", ...
  std::vector<DrawObjectCall> draws;
  void DrawObject(pv::DcHandle hdc, const pv::OutlinePoints& X, const pv::OutlinePoints& Y, std::int32_t x1,
                  std::int32_t y1, std::int32_t x2, std::int32_t y2, float Angle, std::int32_t lKey,
                  std::int16_t UserType) override {
    draws.push_back({X, Y, x1, y1, x2, y2, Angle, lKey, UserType, hdc != nullptr});
    events << QStringLiteral("DrawObject(%1)").arg(lKey);
  }
  void DrawPage(pv::DcHandle, std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2) override {
    events << QStringLiteral("DrawPage(%1,%2,%3,%4)").arg(x1).arg(y1).arg(x2).arg(y2);
  }
  void DeleteObject(std::int32_t lKey, std::int16_t UserType) override {
    events << QStringLiteral("DeleteObject(%1,%2)").arg(lKey).arg(UserType);
  }
  void SelectionStop() override { events << QStringLiteral("SelectionStop"); }
  void UpdateObjects() override { events << QStringLiteral("UpdateObjects"); }
  void SavedDocument() override { events << QStringLiteral("SavedDocument"); }
  int count(const QString& prefix) const {
    int n = 0;
    for (const QString& e : events) n += e.startsWith(prefix) ? 1 : 0;
    return n;
  }
  void clear() {
    events.clear();
    draws.clear();
  }
};

// Counts what the canvas tells its widget.
struct RecordingView : pv::DragEditorView {
  int surface = 0, rulers = 0, bars = 0, layout = 0, pointer = 0, focus = 0;
  void SurfaceChanged() override { ++surface; }
  void RulersChanged() override { ++rulers; }
  void ScrollBarsChanged() override { ++bars; }
  void LayoutChanged() override { ++layout; }
  void PointerChanged() override { ++pointer; }
  void FocusSurface() override { ++focus; }
};

class CanvasTest : public ::testing::Test {
 protected:
  void SetUp() override {
    EnsureGuiApp();
    pv::ResetDocumentState();
  }
  void TearDown() override {
    documentCanvas.reset();
    canvas.reset();
    pv::ResetDocumentState();
  }
  // A canvas with a surface of w x h pixels, the document's canvas; the
  // host's record starts after the set-up.
  pv::DragEditor& Make(int w = 600, int h = 400) {
    documentCanvas.reset();
    canvas.reset();
    canvas = std::make_unique<pv::DragEditor>(&host, w, h);
    documentCanvas.emplace(*canvas);
    host.clear();
    return *canvas;
  }
  // The editor's set-up: 300 x 300 work area, a page, the host draws it.
  pv::DragEditor& MakeEditorCanvas(int w = 600, int h = 400, double pw = 100, double ph = 50) {
    pv::DragEditor& c = Make(w, h);
    c.SetShowPage(false);
    c.SetWorkArea(300, 300, false);
    c.SetPage(pw, ph, false);
    c.SetZoomPage();
    host.clear();
    return c;
  }
  std::unique_ptr<pv::DragEditor> canvas;
  std::optional<pv::ScopedHost<pv::CanvasHost>> documentCanvas;
  RecordingHost host;
};

// Appends a record straight into the table (no snapshot, no painting).
inline std::int32_t PutBox(float cx, float cy, float w, float h, std::int32_t angle = 0, std::int16_t userType = 105) {
  pv::ObjectRecord r = pv::test::BoxRecord(userType, cx, cy, w, h);
  r.Angle = angle;
  return pv::test::AppendRecord(r).Key;
}

inline std::int32_t PutLine(float x1, float y1, float x2, float y2, std::int32_t angle = 0) {
  pv::ObjectRecord r = pv::test::LineRecord(x1, y1, x2, y2);
  r.Angle = angle;
  return pv::test::AppendRecord(r).Key;
}

}  // namespace pvtest
