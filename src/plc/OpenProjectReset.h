#pragma once
// The one reset of the open project: the model without a project, and the register tables
// emptied with the project's settings. Close, New, Open, Back and the uploads all start
// from it, so nothing of one project lives on in the next. The PLC identities stay: the
// protocol level sets them, and every road names the pair afresh.
void ResetOpenProject();
