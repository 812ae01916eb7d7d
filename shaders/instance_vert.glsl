#version 120
#extension GL_EXT_gpu_shader4 : require
// Program "instance": one draw call for every instance of a mesh, each placed
// by its own world matrix, drawn straight to the screen. No pass of the
// deferred frame draws with it. The array's size is the renderer's
// Graphics::kInstanceArraySize; a draw never has more instances.
uniform mat4 instanceMatArr[64];

varying vec3 eyeNormal;
varying vec4 eyePosition;

void main() {
    mat4 world = instanceMatArr[int(min(float(gl_InstanceID), 63.0))];
    eyePosition = gl_ModelViewMatrix * (world * gl_Vertex);
    eyeNormal = gl_NormalMatrix * (mat3(world) * gl_Normal);
    gl_TexCoord[0] = gl_MultiTexCoord0;
    gl_FrontColor = gl_Color;
    gl_Position = gl_ProjectionMatrix * eyePosition;
}
