#pragma once

#include "pages/CAssignPage.h"

namespace zav {

class CDlg5210 : public CAssignPage {
    Q_OBJECT
public:
    explicit CDlg5210(CZavoraDlg& main, QWidget* parent = nullptr) : CAssignPage(main, 1, parent) {}
};

} // namespace zav
