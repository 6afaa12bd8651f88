# The table pages: coefficient tables, NTC tables, battery table, lambda settings.
# Their computations live in the core, their forms in the GUI library.
target_sources(gasecu_core PRIVATE
  battery_table.cpp battery_table.h
  coefficient_codec.cpp coefficient_codec.h
  lambda_codec.cpp lambda_codec.h
  ntc_table.cpp ntc_table.h
)
target_sources(gasecu_gui PRIVATE
  battery_gauge.cpp battery_gauge.h
  battery_page.cpp battery_page.h battery_page_layout.cpp
  coefficient_grid.cpp coefficient_grid.h
  coefficient_page.cpp coefficient_page.h
  coefficient_page_parts.cpp coefficient_page_parts.h
  lambda_page.cpp lambda_page.h
  ntc_page.cpp ntc_page.h
)
# The configuration compare, over the pages' field descriptions.
target_sources(gasecu_core PRIVATE
  config_compare.cpp config_compare.h
  level_fields.h
)
target_sources(gasecu_gui PRIVATE
  compare_window.cpp compare_window.h
)
