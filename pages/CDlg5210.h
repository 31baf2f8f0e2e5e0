#pragma once

#include "pages/CAssignPage.h"

namespace zav {

class CDlg5210 : public CAssignPage {
    Q_OBJECT
public:
    explicit CDlg5210(PageHost& host, QWidget* parent = nullptr) : CAssignPage(host, 1, parent) {}
};

} // namespace zav
