#include "app/window/views.h"

namespace pv {

ModelDataView::ModelDataView(QWidget* parent) : QWidget(parent) {}
EditCardView::EditCardView(QWidget* parent) : QWidget(parent) {}
DataBaseDataView::DataBaseDataView(QWidget* parent) : QWidget(parent) {}
FormatDataView::FormatDataView(QWidget* parent) : QWidget(parent) {}
PreviewDataView::PreviewDataView(QWidget* parent) : QWidget(parent) {}

ViewFactoryTable& ViewFactories() {
  static ViewFactoryTable table;
  return table;
}

}  // namespace pv
