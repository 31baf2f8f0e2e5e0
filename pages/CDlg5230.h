#pragma once

#include "pages/CAssignPage.h"

namespace zav {

class CDlg5230 : public CAssignPage {
    Q_OBJECT
public:
    explicit CDlg5230(CZavoraDlg& main, QWidget* parent = nullptr) : CAssignPage(main, 2, parent) {}
};

} // namespace zav
