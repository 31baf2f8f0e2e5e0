#pragma once

#include "pages/CAssignPage.h"

namespace zav {

class CDlg5230 : public CAssignPage {
    Q_OBJECT
public:
    explicit CDlg5230(PageHost& host, QWidget* parent = nullptr) : CAssignPage(host, 2, parent) {}
};

} // namespace zav
