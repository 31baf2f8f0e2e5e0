#pragma once

#include "pages/CAssignPage.h"

namespace zav {

class CDlg5270 : public CAssignPage {
    Q_OBJECT
public:
    explicit CDlg5270(PageHost& host, QWidget* parent = nullptr) : CAssignPage(host, 3, parent) {}
};

} // namespace zav
