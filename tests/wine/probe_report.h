// The runtime probe's report: one line per check on standard output,
// "PASS <what>" or "FAIL <what>", so a script can read the result line by
// line. No C runtime here, so lines are built in a fixed buffer.
#pragma once

struct ReportLine {
  static const int capacity = 480;
  char text[capacity + 1];
  int length;
};

void startLine(ReportLine& line, const char* text);
void appendText(ReportLine& line, const char* text);
void appendNumber(ReportLine& line, unsigned long number);
// Appends text in brackets with tabs, control characters and backslashes
// written as escapes, so blanks and tabs can be told apart in the report.
void appendVisible(ReportLine& line, const char* text);

// A child run of the probe keeps quiet; its exit code is its answer.
void silenceReport();

void writeReportLine(const char* text);
void writeReportLine(const ReportLine& line);

// Writes "PASS what" or "FAIL what" (followed by detail when there is one)
// and counts the result.
void reportCheck(bool passed, const char* what, const char* detail = nullptr);
int passedChecks();
int failedChecks();
