# The table pages: coefficient tables, NTC tables, battery table, lambda
# settings, and the configuration compare window; the base every parameter
# page derives from.
target_sources(gasecu_gui PRIVATE
  battery_gauge.cpp battery_gauge.h
  battery_page.cpp battery_page.h battery_page_layout.cpp
  coefficient_page.cpp coefficient_page.h
  compare_window.cpp compare_window.h
  lambda_page.cpp lambda_page.h
  ntc_page.cpp ntc_page.h
  parameter_page.cpp parameter_page.h
)
