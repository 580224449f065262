#include "views/views.h"

namespace pv {

ModelDataView::ModelDataView(QWidget* parent) : QWidget(parent) {}
EditCardView::EditCardView(QWidget* parent) : QWidget(parent) {}
DataBaseDataView::DataBaseDataView(QWidget* parent) : QWidget(parent) {}
FormatDataView::FormatDataView(QWidget* parent) : QWidget(parent) {}
PreviewDataView::PreviewDataView(QWidget* parent) : QWidget(parent) {}

ModelDataView* ViewFactory::MakeModelData(QWidget* parent) { return new ModelDataView(parent); }
EditCardView* ViewFactory::MakeEditCard(QWidget* parent) { return new EditCardView(parent); }
DataBaseDataView* ViewFactory::MakeDataBaseData(QWidget* parent) { return new DataBaseDataView(parent); }
FormatDataView* ViewFactory::MakeFormatData(QWidget* parent) { return new FormatDataView(parent); }
PreviewDataView* ViewFactory::MakePreviewData(QWidget* parent) { return new PreviewDataView(parent); }

PV_DEFINE_HOST_SLOT(ViewFactory, Wired)
PV_DEFINE_HOST_ACCESSORS(ViewFactory, ViewFactories, SetViewFactory)

}  // namespace pv
