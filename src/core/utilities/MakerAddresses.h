#pragma once
// The maker's addresses the about box offers: the support mailbox and the web site. Both are set
// when the program is built (TAVRIN_SUPPORT_MAILBOX and TAVRIN_WEB_ADDRESS in CMake).
namespace tavrin {

const char* supportMailbox();
const char* webAddress();

}  // namespace tavrin
