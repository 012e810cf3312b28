// lumivane-objinfo [--json] [--arrays] OBJ [MTL]
//
// Reads OBJ with the saver's model reader; MTL, when given, is the text that the model's
// "mtllib" lines read (without it they read an empty text). Prints each mesh's name, vertex
// and index counts and material; --arrays adds the interleaved vertex and index arrays the
// saver would upload. --json prints one JSON object and nothing else on standard output.
// Both files must be regular files of at most 256 MiB.
// Exit code 0 when the model loads, 1 when the reader rejects it, 2 for usage or file errors.
#include <charconv>
#include <cmath>
#include <cstdio>
#include <iostream>
#include <new>
#include <string>
#include <vector>

#include "drawables/mesh_data.h"
#include "model/model_reader.h"
#include "whole_file.h"

namespace {

const char* const kUsage =
    "usage: lumivane-objinfo [--json] [--arrays] OBJ [MTL]\n"
    "OBJ and MTL must be regular files of at most 256 MiB.\n"
    "Exit code 0 when the model loads, 1 when the reader rejects it, 2 for usage or file errors.\n";

constexpr std::size_t kMaxFileBytes = std::size_t{256} << 20;

bool readFile(const std::string& path, std::string* text) {
  std::string error;
  if (ReadWholeFile(path, kMaxFileBytes, text, &error)) return true;
  std::cerr << "lumivane-objinfo: cannot read " << path << ": " << error << "\n";
  return false;
}

// Shortest text that reads back as the same float.
std::string number(float value) {
  char buffer[64];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  return std::string(buffer, result.ptr);
}

std::string jsonNumber(float value) { return std::isfinite(value) ? number(value) : "null"; }

// Length of the valid UTF-8 sequence at text[i], or 0.
std::size_t utf8Length(const std::string& text, std::size_t i) {
  const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
  const unsigned char c = byte(i);
  std::size_t length;
  unsigned min;
  if (c >= 0xC2 && c <= 0xDF) {
    length = 2;
    min = 0x80;
  } else if (c >= 0xE0 && c <= 0xEF) {
    length = 3;
    min = 0x800;
  } else if (c >= 0xF0 && c <= 0xF4) {
    length = 4;
    min = 0x10000;
  } else {
    return 0;
  }
  if (i + length > text.size()) return 0;
  unsigned code = c & (0x7F >> length);
  for (std::size_t k = 1; k < length; ++k) {
    if ((byte(i + k) & 0xC0) != 0x80) return 0;
    code = (code << 6) | (byte(i + k) & 0x3F);
  }
  if (code < min || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return 0;
  return length;
}

// A JSON string; bytes that are not UTF-8 become U+FFFD.
std::string jsonString(const std::string& text) {
  std::string out = "\"";
  for (std::size_t i = 0; i < text.size();) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c == '\n') {
      out += "\\n";
    } else if (c == '\r') {
      out += "\\r";
    } else if (c == '\t') {
      out += "\\t";
    } else if (c < 0x20 || c == 0x7F) {
      char escape[8];
      std::snprintf(escape, sizeof escape, "\\u%04x", c);
      out += escape;
    } else if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (const std::size_t length = utf8Length(text, i)) {
      out.append(text, i, length);
      i += length;
      continue;
    } else {
      out += "\\ufffd";
    }
    ++i;
  }
  return out + "\"";
}

std::string jsonTriple(const objl::Vector3& v) {
  return "[" + jsonNumber(v.x) + "," + jsonNumber(v.y) + "," + jsonNumber(v.z) + "]";
}

std::string textTriple(const objl::Vector3& v) { return number(v.x) + " " + number(v.y) + " " + number(v.z); }

// Printable form of a name for the text report: control characters shown as escapes.
std::string shown(const std::string& name) { return jsonString(name); }

void printJson(const ModelReader& reader, const MeshData* arrays) {
  std::string out = "{\"meshes\":[";
  for (std::size_t i = 0; i < reader.meshes.size(); ++i) {
    const objl::Mesh& mesh = reader.meshes[i];
    const objl::Material& m = mesh.material;
    if (i > 0) out += ",";
    out += "{\"name\":" + jsonString(mesh.meshName) + ",\"vertexCount\":" + std::to_string(mesh.vertices.size()) +
           ",\"indexCount\":" + std::to_string(mesh.indices.size()) + ",\"material\":{\"name\":" +
           jsonString(m.materialName) + ",\"ambient\":" + jsonTriple(m.ambient) + ",\"diffuse\":" +
           jsonTriple(m.diffuse) + ",\"specular\":" + jsonTriple(m.specular) +
           ",\"specularExponent\":" + jsonNumber(m.specularExponent) + "}}";
  }
  out += "]";
  if (arrays != nullptr) {
    out += ",\"arrays\":{\"floatsPerVertex\":" + std::to_string(arrays->floatsPerVertex()) + ",\"vertices\":[";
    const std::size_t floats = static_cast<std::size_t>(arrays->vertexCount()) * arrays->floatsPerVertex();
    for (std::size_t f = 0; f < floats; ++f) {
      if (f > 0) out += ",";
      out += jsonNumber(arrays->vertices()[f]);
    }
    out += "],\"indices\":[";
    for (int k = 0; k < arrays->indexCount(); ++k) {
      if (k > 0) out += ",";
      out += std::to_string(arrays->indices()[k]);
    }
    out += "]}";
  }
  out += "}\n";
  std::cout << out;
}

void printText(const ModelReader& reader, const MeshData* arrays) {
  std::cout << reader.meshes.size() << (reader.meshes.size() == 1 ? " mesh\n" : " meshes\n");
  for (const objl::Mesh& mesh : reader.meshes) {
    const objl::Material& m = mesh.material;
    std::cout << "mesh " << shown(mesh.meshName) << ": " << mesh.vertices.size() << " vertices, "
              << mesh.indices.size() << " indices, material " << shown(m.materialName) << "\n"
              << "  Ka " << textTriple(m.ambient) << "  Kd " << textTriple(m.diffuse) << "  Ks "
              << textTriple(m.specular) << "  Ns " << number(m.specularExponent) << "\n";
  }
  if (arrays == nullptr) return;
  const int n = arrays->floatsPerVertex();
  std::cout << "interleaved: " << arrays->vertexCount() << " vertices of " << n << " floats ("
            << arrays->vertexBytes() << " bytes), " << arrays->indexCount() << " indices (" << arrays->indexBytes()
            << " bytes)\n";
  // position | texture | normal | tangent | bitangent | ambient | diffuse | specular, exponent
  const int groupEnds[] = {3, 5, 8, 11, 14, 17, 20};
  for (int v = 0; v < arrays->vertexCount(); ++v) {
    std::cout << "  " << v << ":";
    const float* p = arrays->vertices() + static_cast<std::size_t>(v) * n;
    for (int f = 0, g = 0; f < n; ++f) {
      if (g < 7 && f == groupEnds[g]) {
        std::cout << " |";
        ++g;
      }
      std::cout << " " << number(p[f]);
    }
    std::cout << "\n";
  }
  std::cout << "  indices:";
  for (int k = 0; k < arrays->indexCount(); ++k) std::cout << " " << arrays->indices()[k];
  std::cout << "\n";
}

int run(int argc, char** argv) {
  bool json = false;
  bool withArrays = false;
  std::vector<std::string> files;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--json") {
      json = true;
    } else if (arg == "--arrays") {
      withArrays = true;
    } else if (arg == "--help" || arg == "-h") {
      std::cout << kUsage;
      return 0;
    } else if (arg.size() > 1 && arg[0] == '-') {
      std::cerr << "lumivane-objinfo: unknown option " << arg << "\n" << kUsage;
      return 2;
    } else {
      files.push_back(arg);
    }
  }
  if (files.empty() || files.size() > 2) {
    std::cerr << kUsage;
    return 2;
  }

  std::string obj;
  std::string mtl;
  if (!readFile(files[0], &obj)) return 2;
  if (files.size() == 2 && !readFile(files[1], &mtl)) return 2;

  ModelReader reader;
  // In JSON mode standard output holds the JSON alone.
  reader.progressOut = json ? nullptr : &std::cout;
  if (!reader.readModelText(obj, [&mtl] { return mtl; })) {
    std::cout.flush();
    if (!reader.rejectReason().empty()) {
      std::cerr << "lumivane-objinfo: " << files[0] << ": model rejected: " << reader.rejectReason() << "\n";
    } else {
      std::cerr << "lumivane-objinfo: " << files[0] << ": model rejected: no faces to draw\n";
    }
    return 1;
  }

  if (withArrays) {
    const MeshData arrays(reader, 1.0f);
    json ? printJson(reader, &arrays) : printText(reader, &arrays);
  } else {
    json ? printJson(reader, nullptr) : printText(reader, nullptr);
  }
  std::cout.flush();
  return std::cout ? 0 : 2;
}

}  // namespace

int main(int argc, char** argv) {
  try {
    return run(argc, argv);
  } catch (const std::bad_alloc&) {
    std::cout.flush();
    std::cerr << "lumivane-objinfo: model rejected: out of memory\n";
    return 1;
  }
}
