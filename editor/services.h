#pragma once
// What the editor's logic reads of the program around it: the settings it
// follows (SETTING/AUTO_INSERT, the grid and the view flags) and the aspect
// of a picture from the picture library. The base class reads every setting
// as 0 (as a settings file without the key) and asks Pictor2 for the aspect;
// the composition root installs the one over the program's settings
// (app/editorsettings.h), tests put their own in its place.
#include "platform/hostslot.h"

#include <QString>

#include <cstdint>

namespace pv {

class EditorServices {
 public:
  virtual ~EditorServices() = default;
  // SETTING/AUTO_INSERT: non-zero keeps an insert tool armed after a new object.
  virtual std::int16_t AutoInsert();
  // SETTING/GRID_X, GRID_Y (millimetres), SHOW_GRID, SHOW_RULE, SNAP.
  virtual float GridX();
  virtual float GridY();
  virtual bool ShowGrid();
  virtual bool ShowRule();
  virtual bool Snap();
  // Height / width of a metafile's frame; 1.0 for any other picture.
  virtual double ImageAspect(const QString& path);
};

PV_DECLARE_HOST_SLOT(EditorServices)

EditorServices& Services();
// Takes no ownership; returns the previous instance; nullptr = the default.
EditorServices* SetEditorServices(EditorServices* services);

}  // namespace pv
