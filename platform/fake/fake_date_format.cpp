#include "platform/fake/fake_date_format.h"

namespace scourly::fake {

FakeDateFormat::FakeDateFormat() {
  formats.shortDate = "dd.MM.yyyy";
  formats.longTime = "HH:mm:ss";
  formats.am = "AM";
  formats.pm = "PM";
  formats.shortMonthNames = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                             "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  formats.longMonthNames = {"January", "February", "March",     "April",   "May",      "June",
                            "July",    "August",   "September", "October", "November", "December"};
  formats.shortDayNames = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
  formats.longDayNames = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                          "Thursday", "Friday", "Saturday"};
}

}  // namespace scourly::fake
