// Temporary stand-ins while the number sources, the question window and the
// tray icon are being built in parallel. Delete a stand-in as soon as its
// real definition lands (cmbList_DropDown: number_sources.cpp).
#include "app/app_context.h"
#include "app/dialing.h"

namespace corvane {

void DialerForm::cmbList_DropDown() {}
void DialerForm::cmdDial_Click() {}
void DialerForm::cmdCancel_Click() {}
void DialerForm::mnuDisconnect_Click() {}
std::string DialStateText(uint32_t) { return {}; }
void OnDialEvent(AppContext&, uint32_t, uint32_t, int32_t) {}

}  // namespace corvane
