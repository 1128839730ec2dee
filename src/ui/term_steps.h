#pragma once
// Moving the main window from term to term as the operator's keys and the
// loop do it: through the term list, so that each move is what a click on
// the term would have done.

#include <string>

namespace kalvera {

class TForm1;
struct LoopFrame;

// Selects the term in the term list and runs the list's click handler.
// False when the list does not hold it.
bool ChooseTerm(TForm1& form, const std::string& termText);
// The previous or next term (direction -1 or +1). Past either end of the day
// it goes to the day before (its newest term) or after (its earliest); it
// stops at the site's newest term, as StepDay does.
void StepTerm(TForm1& form, int direction);
// The day before or after, as the day buttons go; forward only while a later
// day, up to today, holds a term, so that the keys never leave the newest
// data for an empty tomorrow.
void StepDay(TForm1& form, int direction);
// The day's earliest or newest term.
void ChooseDayEnd(TForm1& form, bool newest);
// The site's newest term of all, whatever day is shown ("back to now").
void ChooseNewestTerm(TForm1& form);
// Highlights a loop frame's term in the list when the list shows its day,
// without running any handler; otherwise nothing is highlighted.
void HighlightTerm(TForm1& form, const LoopFrame& frame);
// The day and files of the state become those of the listed day again, after
// the loop has shown frames of earlier days.
void ReturnToListedDay(TForm1& form);
// One step of the scale bar (+1 a larger, -1 a smaller km per division).
void StepScale(TForm1& form, int steps);

}  // namespace kalvera
