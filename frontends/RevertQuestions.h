#pragma once
// The questions an emulator front-end asks before its two reverts put
// default or saved options into its controls (Yes and No, No by default).

namespace revertquestions {

// "Do you wish to revert to default settings?": true for Yes.
bool AskRevertToDefault();
// "Do you wish to revert to saved settings?": true for Yes.
bool AskRevertToSaved();

} // namespace revertquestions
