# The service's readers of outside data, as a library of their own, so that
# the fuzz targets take them alone: the request head, the form body and its
# fields, the upstream's address, answers, lists and messages.
# orbelin_service_readers(NAME [OPTIONS ...]) adds it under NAME.
function(orbelin_service_readers name)
  set(dir ${CMAKE_CURRENT_FUNCTION_LIST_DIR})
  find_package(nlohmann_json 3 REQUIRED)  # Debian's nlohmann-json3-dev
  add_library(${name} STATIC
      ${dir}/FormBody.cpp
      ${dir}/HttpResponse.cpp
      ${dir}/JsonLimits.cpp
      ${dir}/Languages.cpp
      ${dir}/RequestHead.cpp
      ${dir}/TranslateRequest.cpp
      ${dir}/UpstreamAddress.cpp
      ${dir}/UpstreamLanguages.cpp
      ${dir}/UpstreamMessages.cpp)
  target_include_directories(${name} PUBLIC ${dir})
  target_compile_options(${name} PRIVATE -Wall -Wextra ${ARGN})
  target_link_libraries(${name} PRIVATE nlohmann_json::nlohmann_json)
endfunction()
