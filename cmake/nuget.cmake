# SPDX-License-Identifier: MIT
# The NuGet package XVantor (nuget/XVantor.csproj): `cmake --build build --target nuget`
# packs it into build/nuget/ with the version of project() and the three binaries that the
# target `binaries` builds first (cmake/binaries.cmake). scripts/release.sh packs the
# release's package itself, from its own builds.
find_program(XV_DOTNET dotnet)
mark_as_advanced(XV_DOTNET)
if(XV_DOTNET)
  add_custom_target(nuget
    COMMAND ${CMAKE_COMMAND} -E env DOTNET_CLI_TELEMETRY_OPTOUT=1 DOTNET_NOLOGO=1
      ${XV_DOTNET} pack ${PROJECT_SOURCE_DIR}/nuget/XVantor.csproj -nologo -nodeReuse:false
      --artifacts-path ${PROJECT_BINARY_DIR}/nuget/artifacts -o ${PROJECT_BINARY_DIR}/nuget
      -p:Version=${PROJECT_VERSION} -p:XVantorBinaries=${XV_BINARIES_DIR}
    COMMENT "Packing the NuGet package XVantor ${PROJECT_VERSION}"
    VERBATIM)
  add_dependencies(nuget binaries)
endif()
