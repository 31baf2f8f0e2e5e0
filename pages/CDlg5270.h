#pragma once

#include "pages/CAssignPage.h"

namespace zav {

class CDlg5270 : public CAssignPage {
    Q_OBJECT
public:
    explicit CDlg5270(CZavoraDlg& main, QWidget* parent = nullptr) : CAssignPage(main, 3, parent) {}
};

} // namespace zav
