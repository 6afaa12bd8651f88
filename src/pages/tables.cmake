target_sources(gasecu_gui PRIVATE
  battery_page.cpp battery_page.h
  coefficient_page.cpp coefficient_page.h
  lambda_page.cpp lambda_page.h
  ntc_page.cpp ntc_page.h
)
