#pragma once

namespace velunorh {

// The months of the service year as seen from today. Calendar months are 0 = January ...
// 11 = December; service-year rows are 0 = September ... 11 = August.
struct ServiceYear {
  int reportMonth = 0;               // the calendar month before today's date
  int currentYear = 2000;            // today's four-digit year
  bool previousServiceYear = false;  // the "previous service year" box

  bool operator==(const ServiceYear&) const = default;

  // Months of the running service year up to and including reportMonth (September gives 1).
  int ElapsedMonths() const { return reportMonth > 7 ? reportMonth - 7 : reportMonth + 5; }

  // Whether calendar month m is one that previous-service-year mode takes from the previous-year
  // file: with r = reportMonth, the months m <= r when r > 7; the months m > 7 and m <= r
  // otherwise.
  bool IsPreviousYearMonth(int m) const {
    int r = reportMonth;
    return r > 7 ? m <= r : (m > 7 || m <= r);
  }

  // Whether month m is served from the previous-year file (previous-year mode and such a month).
  bool ServedByPreviousYear(int m) const { return previousServiceYear && IsPreviousYearMonth(m); }

  // Calendar month of service-year row i.
  static int RowMonth(int row) { return (row + 8) % 12; }
  // Service-year row of calendar month m (0 = January): RowMonth's inverse.
  static int MonthRow(int m) { return (m + 4) % 12; }

  // ReportMonth and CurrentYear from a date (month 1-12).
  static ServiceYear FromDate(int year, int month) {
    ServiceYear s;
    s.reportMonth = month > 1 ? month - 2 : month + 10;
    s.currentYear = year;
    return s;
  }
};

}  // namespace velunorh
