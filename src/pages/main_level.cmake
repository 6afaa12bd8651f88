target_sources(gasecu_gui PRIVATE
  level_page.cpp level_page.h
  main_parameters_page.cpp main_parameters_page.h
)
