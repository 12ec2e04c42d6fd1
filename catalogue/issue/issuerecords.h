#pragma once

#include "platform/recordset.h"

#include <QString>

class frmAddIssue;

// The record logic behind the issue screen: it keeps the chosen title's
// issues open in rsIssue (ordered by issue number, then condition) as the
// screen's cursor, and reads and writes the screen's controls.
namespace frmissue {

// "Mint" .. "Poor" for codes 1 to 8 (the names of messages and the picker,
// not the option captions); empty for any other code.
QString ConditionName(int code);
// The code of a name ("New" is 0); -1 when the name is none of them.
int ConditionCode(const QString &name);

// What the price and value boxes take: digits, ".", "," and "$". Their key
// filter and the check before saving use the same rule, so a pasted text is
// held to it too.
bool IsAmountCharacter(QChar c);

// The code digit and the name of the selected option ("3VeryFine"), or empty.
QString SelectedCondition(const frmAddIssue &f);

bool OpenTitleIssues(frmAddIssue &f, const QString &titleId, QString &editMode);
bool PrepareNewIssue(frmAddIssue &f);
void ShowIssueKey(frmAddIssue &f, QString &editMode);
bool ShowIssueDetails(frmAddIssue &f, QString &editMode);
// kind 1: by issue number (asking which condition when there are several);
// kind 2: by issue number and the condition code given.
bool FindIssue(frmAddIssue &f, int kind, const QString &code, QString &editMode);
bool ChooseCondition(frmAddIssue &f, const platform::Criteria &criteria, QString &editMode);
// Both store nothing and return false, the user told why, when a field does
// not hold a storable value or the engine refuses the row.
bool AddIssue(frmAddIssue &f, const QString &code, QString &editMode);
bool UpdateIssue(frmAddIssue &f, const QString &code, QString &editMode);
bool ConfirmPendingSave(frmAddIssue &f, const QString &reason, QString &editMode);

// The criteria for the number in the issue box: {IssueNum} or {IssueNum, Condition}.
platform::Criteria IssueCriteria(const frmAddIssue &f, const QString &code = QString());

} // namespace frmissue
