# The DICOM sender's benchmark against Orthanc on loopback: the time from a
# bitmap written to the instance readable in the archive, and making plus
# sending N objects against DCMTK's img2dcm and storescu. Built with
# everything, run by hand, never as a test:
#   cmake --build build --target zyr_store_bench && build/bench/zyr_store_bench [N [ROUNDS]]
add_executable(zyr_store_bench ${CMAKE_SOURCE_DIR}/bench/store_bench.cpp
  ${CMAKE_SOURCE_DIR}/bench/store_bench_object.cpp ${CMAKE_SOURCE_DIR}/bench/store_bench_object.h
  ${CMAKE_SOURCE_DIR}/tests/support/orthanc_peer.cpp ${CMAKE_SOURCE_DIR}/tests/support/orthanc_peer.h
  ${CMAKE_SOURCE_DIR}/tests/support/child_process.cpp)
target_link_libraries(zyr_store_bench PRIVATE zyrpan_dicom Qt6::Core)
target_compile_definitions(zyr_store_bench PRIVATE ZYR_STAGE_DIR="${ZYR_STAGE_DIR}")
set_target_properties(zyr_store_bench PROPERTIES AUTOMOC OFF)
add_dependencies(zyr_store_bench zyr-pan-weq-store)
zyr_warnings(zyr_store_bench)
